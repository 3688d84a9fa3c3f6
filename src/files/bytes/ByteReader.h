#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace mosaikon {

// Little-endian fields of a block whose length the caller has already checked.
inline std::uint16_t le16(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}
inline std::uint32_t le32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(bytes[offset]) |
           (static_cast<std::uint32_t>(bytes[offset + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes[offset + 2]) << 16) |
           (static_cast<std::uint32_t>(bytes[offset + 3]) << 24);
}

// Little-endian reads from a byte span that can never look past its end: every read says
// whether the bytes were there, so a parser checks each field it takes.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    std::size_t size() const { return m_bytes.size(); }
    bool has(std::size_t offset, std::size_t count) const {
        return offset <= m_bytes.size() && count <= m_bytes.size() - offset;
    }

    std::optional<std::uint8_t> u8(std::size_t offset) const {
        if (!has(offset, 1)) return std::nullopt;
        return m_bytes[offset];
    }
    std::optional<std::uint16_t> u16(std::size_t offset) const {
        if (!has(offset, 2)) return std::nullopt;
        return le16(m_bytes, offset);
    }
    std::optional<std::uint32_t> u32(std::size_t offset) const {
        if (!has(offset, 4)) return std::nullopt;
        return le32(m_bytes, offset);
    }
    std::optional<std::int32_t> i32(std::size_t offset) const {
        const auto value = u32(offset);
        if (!value) return std::nullopt;
        return static_cast<std::int32_t>(*value);
    }
    // The `count` bytes at `offset`, or an empty optional when they are not all there.
    std::optional<std::span<const std::uint8_t>> bytes(std::size_t offset,
                                                       std::size_t count) const {
        if (!has(offset, count)) return std::nullopt;
        return m_bytes.subspan(offset, count);
    }
    std::span<const std::uint8_t> from(std::size_t offset) const {
        return offset < m_bytes.size() ? m_bytes.subspan(offset) : std::span<const std::uint8_t>();
    }

private:
    std::span<const std::uint8_t> m_bytes;
};

// Stores little-endian fields into a growing byte vector, for the writers.
template <typename Vector>
void putU16(Vector& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}
template <typename Vector>
void putU32(Vector& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
    }
}

}  // namespace mosaikon

#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>

namespace mosaikon {

// Every reader of this layer takes its bytes apart through this header: an on-disk structure
// by a parse function over FieldReader (below), the ranges and values around such structures
// (a colour table, pixel rows, one pixel's bytes) by the checked helpers first.

// Little-endian values at `offset` of a block whose length the caller has already checked.
inline std::uint16_t le16(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}
inline std::uint32_t le32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(bytes[offset]) |
           (static_cast<std::uint32_t>(bytes[offset + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes[offset + 2]) << 16) |
           (static_cast<std::uint32_t>(bytes[offset + 3]) << 24);
}

// The `count` bytes at `offset` of `bytes`, or nothing when they are not all there.
inline std::optional<std::span<const std::uint8_t>> bytesAt(std::span<const std::uint8_t> bytes,
                                                            std::size_t offset, std::size_t count) {
    // Written as a subtraction so that offset + count cannot wrap round.
    if (offset > bytes.size() || count > bytes.size() - offset) {
        return std::nullopt;
    }
    return bytes.subspan(offset, count);
}

// The bytes from `offset` on; none when `offset` lies at or past the end.
inline std::span<const std::uint8_t> bytesFrom(std::span<const std::uint8_t> bytes,
                                               std::size_t offset) {
    return offset < bytes.size() ? bytes.subspan(offset) : std::span<const std::uint8_t>();
}

// Whether `bytes` start with `signature`: how each format recognises its files.
inline bool startsWith(std::span<const std::uint8_t> bytes,
                       std::span<const std::uint8_t> signature) {
    return bytes.size() >= signature.size() &&
           std::equal(signature.begin(), signature.end(), bytes.begin());
}

// The one way our readers take an on-disk structure apart. Each structure has a parse function
// that reads its fields, in the order they are stored, into a struct of named fields; callers
// use only that struct. parseFields() checks the length of the bytes once before the fields are
// read, and afterwards that every byte of the structure was read or skipped:
//
//     std::optional<Header> parseHeader(std::span<const std::uint8_t> bytes) {
//         return parseFields<Header>(bytes, [](FieldReader& in, Header& h) {
//             h.magic = in.u16();
//             in.skip(6);  // what the program does not use, named here
//             h.offset = in.u32();
//         });
//     }
//
// All values are little-endian. A read past the checked length cannot come from the file, only
// from a parse function that reads more fields than its structure has; it throws logic_error in
// every build rather than read outside the bytes.
class FieldReader {
public:
    std::uint8_t u8() { return take<1>()[0]; }
    std::uint16_t u16() { return le16(take<2>(), 0); }
    std::uint32_t u32() { return le32(take<4>(), 0); }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    template <std::size_t N>
    std::array<std::uint8_t, N> bytes() {
        return take<N>();
    }
    // Ends a parse: every byte of the structure must have been read or skipped, so a struct's
    // kSize and its parse function cannot disagree unnoticed.
    void end() const {
        if (m_at != m_bytes.size()) {
            throw std::logic_error("A parse function left part of its structure unread.");
        }
    }
    // Passes over fields the program does not use.
    void skip(std::size_t count) {
        need(count);
        m_at += count;
    }

private:
    friend std::optional<FieldReader> fieldsOf(std::span<const std::uint8_t>, std::size_t);
    explicit FieldReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    void need(std::size_t count) const {
        if (count > m_bytes.size() - m_at) {
            throw std::logic_error("A parse function read past the structure it checked.");
        }
    }
    template <std::size_t N>
    std::array<std::uint8_t, N> take() {
        need(N);
        std::array<std::uint8_t, N> out{};
        for (std::size_t i = 0; i < N; ++i) {
            out[i] = m_bytes[m_at + i];
        }
        m_at += N;
        return out;
    }

    std::span<const std::uint8_t> m_bytes;
    std::size_t m_at = 0;
};

// The fields of a structure of `size` bytes at the start of `bytes`, or nothing when `bytes`
// is shorter than that.
inline std::optional<FieldReader> fieldsOf(std::span<const std::uint8_t> bytes, std::size_t size) {
    if (bytes.size() < size) {
        return std::nullopt;
    }
    return FieldReader(bytes.first(size));
}

// The `Structure` of `size` bytes at the start of `bytes`, its fields taken in stored order by
// `readFields(FieldReader&, Structure&)`; nothing when `bytes` is shorter.
template <typename Structure, typename ReadFields>
std::optional<Structure> parseFields(std::span<const std::uint8_t> bytes, std::size_t size,
                                     ReadFields readFields) {
    auto in = fieldsOf(bytes, size);
    if (!in) return std::nullopt;
    Structure structure;
    readFields(*in, structure);
    in->end();
    return structure;
}

// The same for a structure of fixed size, Structure::kSize.
template <typename Structure, typename ReadFields>
std::optional<Structure> parseFields(std::span<const std::uint8_t> bytes, ReadFields readFields) {
    return parseFields<Structure>(bytes, Structure::kSize, readFields);
}

}  // namespace mosaikon

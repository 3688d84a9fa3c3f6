#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "ByteSource.h"

namespace mosaikon {

// Bytes this source holds itself: the part of a file read into memory that a picture keeps to
// decode as it is drawn, after the buffer it was read into is gone.
class OwnedBytes final : public ByteSource {
public:
    OwnedBytes(std::vector<std::uint8_t> bytes, std::string name)
        : m_bytes(std::move(bytes)), m_name(std::move(name)) {}
    std::uint64_t size() const override { return m_bytes.size(); }
    void read(std::uint64_t offset, std::span<std::uint8_t> out) override {
        checkInside(*this, offset, out.size());
        std::copy_n(m_bytes.begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
    }
    const std::string& name() const override { return m_name; }

private:
    std::vector<std::uint8_t> m_bytes;
    std::string m_name;
};

}  // namespace mosaikon

#pragma once

#include <cstdint>

namespace mosaikon {

// The writers' side of FieldReader: little-endian fields appended, in stored order, to a
// growing byte vector.
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

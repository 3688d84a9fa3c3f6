#include <algorithm>
#include <cstddef>

#include "ByteSource.h"

namespace mosaikon {

void MemoryBytes::read(std::uint64_t offset, std::span<std::uint8_t> out) {
    checkInside(*this, offset, out.size());
    std::copy_n(m_bytes.begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
}

}  // namespace mosaikon

#include "ByteSource.h"

#include <algorithm>
#include <cassert>

#include "FileError.h"

namespace mosaikon {

void MemoryBytes::read(std::uint64_t offset, std::span<std::uint8_t> out) {
    assert(offset <= m_bytes.size() && out.size() <= m_bytes.size() - offset);
    std::copy_n(m_bytes.begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
}

std::vector<std::uint8_t> readRange(ByteSource& source, std::uint64_t offset, std::uint64_t length,
                                    std::uint64_t limit, const char* what) {
    const std::uint64_t size = source.size();
    // Written as a subtraction so that offset + length cannot wrap round.
    if (offset > size || length > size - offset) {
        throw FileError(source.name(),
                        std::string("is damaged: ") + what + " lies past the end of the file.");
    }
    if (length > limit) {
        throw FileError(source.name(), std::string("is damaged: ") + what +
                                           " is implausibly large (" + std::to_string(length) +
                                           " bytes).");
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
    source.read(offset, bytes);
    return bytes;
}

}  // namespace mosaikon

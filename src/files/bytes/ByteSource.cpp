#include "ByteSource.h"

#include <algorithm>

#include "FileError.h"

namespace mosaikon {

void checkInside(const ByteSource& source, std::uint64_t offset, std::uint64_t length) {
    const std::uint64_t size = source.size();
    // Written as a subtraction so that offset + length cannot wrap round.
    if (offset > size || length > size - offset) {
        throw FileError(source.name(), "is truncated: it ends before the data it describes.");
    }
}

std::vector<std::uint8_t> readUpTo(ByteSource& source, std::uint64_t offset, std::uint64_t count) {
    const std::uint64_t size = source.size();
    const std::uint64_t available = offset < size ? size - offset : 0;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::min(available, count)));
    if (!bytes.empty()) {
        source.read(offset, bytes);
    }
    return bytes;
}

std::vector<std::uint8_t> readRange(ByteSource& source, std::uint64_t offset, std::uint64_t length,
                                    std::uint64_t limit, const char* what) {
    const std::uint64_t size = source.size();
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

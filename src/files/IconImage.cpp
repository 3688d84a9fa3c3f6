#include "IconImage.h"

#include "FileError.h"

namespace mosaikon {

// Placeholder until the decoder lands; every call reports that the image cannot be read yet.
Picture decodeIconImage(std::span<const std::uint8_t>, const std::string& pathForMessages) {
    throw FileError(pathForMessages, "icon images cannot be decoded yet");
}

IconCandidate describeIconImage(std::span<const std::uint8_t>, const std::string& pathForMessages) {
    throw FileError(pathForMessages, "icon images cannot be decoded yet");
}

}  // namespace mosaikon

#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "Picture.h"
#include "icon/IconChoice.h"

namespace mosaikon {

// Decodes one icon image as an icon file entry or an icon resource stores it: either a device-
// independent bitmap whose header height counts the colour rows and the AND-mask rows together,
// or a complete PNG stream. The result is an icon picture at the image's own size.
// Throws FileError, naming `pathForMessages`, when the bytes are not a usable icon image.
Picture decodeIconImage(std::span<const std::uint8_t> imageBytes,
                        const std::string& pathForMessages);

// The size and depth an icon image declares in its own header, for choosing among several images
// without decoding them all. Throws FileError, naming `pathForMessages`, when the header is not
// readable.
IconCandidate describeIconImage(std::span<const std::uint8_t> imageBytes,
                                const std::string& pathForMessages);

}  // namespace mosaikon

#include "icon/IconChoice.h"

#include <cstdlib>
#include <stdexcept>

namespace mosaikon {

int directoryBitCount(std::uint16_t bitCount, std::uint8_t colourCount) {
    if (bitCount != 0) {
        return bitCount;
    }
    if (colourCount == 0) {
        return 0;
    }
    int bits = 1;
    while (bits < 8 && (1 << bits) < colourCount) {
        ++bits;
    }
    return bits;
}

std::size_t chooseIconForSide(std::span<const IconCandidate> candidates, int side) {
    if (candidates.empty()) {
        throw std::invalid_argument("There is no icon image to choose from.");
    }
    std::size_t best = 0;
    long bestDistance = 0;
    long bestDepthGap = 0;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const IconCandidate& c = candidates[i];
        const long distance = std::labs(static_cast<long>(c.width) - side) +
                              std::labs(static_cast<long>(c.height) - side);
        const long depthGap = c.bitCount == 0 ? 0 : std::labs(static_cast<long>(c.bitCount) - 32);
        // Strict comparisons keep the first of equals.
        if (i == 0 || distance < bestDistance ||
            (distance == bestDistance && depthGap < bestDepthGap)) {
            best = i;
            bestDistance = distance;
            bestDepthGap = depthGap;
        }
    }
    return best;
}

}  // namespace mosaikon

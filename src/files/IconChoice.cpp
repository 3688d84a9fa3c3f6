#include "IconChoice.h"

#include <cassert>
#include <cstdlib>

namespace mosaikon {

std::size_t chooseIconFor32(std::span<const IconCandidate> candidates) {
    assert(!candidates.empty());
    std::size_t best = 0;
    long bestDistance = 0;
    long bestDepthGap = 0;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const IconCandidate& c = candidates[i];
        const long distance = std::labs(static_cast<long>(c.width) - 32) +
                              std::labs(static_cast<long>(c.height) - 32);
        const long depthGap = std::labs(static_cast<long>(c.bitCount) - 32);
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

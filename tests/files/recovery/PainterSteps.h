#pragma once

#include <cstdint>

#include "IconCanvas.h"

namespace mosaikon::test {

// The changes the crash test's painting process makes, one press on the grid each, so the test
// can make the same ones to know what a copy must hold. Change `step` of run `run` paints one
// cell of the icon, then writes the run and the step into the colour of pixel (0, 0), so a copy
// says which change it holds.
inline constexpr std::uint32_t kStepBits = 14;
inline constexpr std::uint32_t kMostSteps = 1u << kStepBits;

inline void paintStep(IconCanvas& canvas, std::uint32_t run, std::uint32_t step) {
    const std::uint32_t cell = 1 + step % 1023;
    canvas.state.CurrentColor = Colour(((run * 7919u + step) * 2654435761u) & 0x00FFFFFFu);
    canvas.LargePicture_MouseDown(1, 0, static_cast<float>((cell % 32) * 10 + 5),
                                  static_cast<float>((cell / 32) * 10 + 5));
    canvas.state.CurrentColor = Colour((run << kStepBits) | step);
    canvas.LargePicture_MouseDown(1, 0, 5, 5);
}

}  // namespace mosaikon::test

#pragma once

// Whole-surface expectations shared by the canvas tests.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "IconCanvas.h"
#include "PictureBox.h"

namespace mosaikon::test {

using IconPixels = std::vector<std::uint32_t>;  // 32 × 32 plain colours, row by row

inline constexpr std::uint32_t kBlack = 0x000000;
inline constexpr std::uint32_t kWhite = 0xFFFFFF;
inline constexpr std::uint32_t kRed = 0x0000FF;
inline constexpr std::uint32_t kBlue = 0xFF0000;

// Every icon pixel given by a function of its column and row.
inline IconPixels iconFrom(const std::function<std::uint32_t(int, int)>& colourAt) {
    IconPixels icon(32 * 32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            icon[static_cast<std::size_t>(y * 32 + x)] = colourAt(x, y);
        }
    }
    return icon;
}

// A different colour for each of the 1,024 pixels.
inline IconPixels distinctIcon() {
    return iconFrom([](int x, int y) {
        return static_cast<std::uint32_t>(0x010000 * (x + 1) + 0x000100 * (y + 3) + 7 * x + 5);
    });
}

// The view a rebuild gives for `icon`: cell interiors in their pixel's colour, black lines on
// every row and column that is a multiple of 10.
inline std::vector<std::uint32_t> gridViewOf(const IconPixels& icon) {
    std::vector<std::uint32_t> view(319 * 319);
    for (int y = 0; y < 319; ++y) {
        for (int x = 0; x < 319; ++x) {
            const bool onGrid = x % 10 == 0 || y % 10 == 0;
            view[static_cast<std::size_t>(y * 319 + x)] =
                onGrid ? kBlack : icon[static_cast<std::size_t>((y / 10) * 32 + x / 10)];
        }
    }
    return view;
}

// Sets the icon surface to `icon`, the opacity plane to match, and the view to its rebuild.
inline void loadIcon(IconCanvas& canvas, const IconPixels& icon) {
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            canvas.SmallPicture.PSet(x, y, Colour(icon[static_cast<std::size_t>(y * 32 + x)]));
        }
    }
    canvas.opacity.follow(canvas.SmallPicture);  // the icon opaque, its pure white clear
    canvas.rebuildView();
}

// Compares whole surfaces and names the first differing pixel, which says far more than a
// bare "vectors differ".
inline ::testing::AssertionResult sameSurface(const std::vector<std::uint32_t>& actual,
                                              const std::vector<std::uint32_t>& expected,
                                              int width) {
    if (actual.size() != expected.size()) {
        return ::testing::AssertionFailure()
               << "sizes differ: " << actual.size() << " vs " << expected.size();
    }
    int differing = 0;
    std::size_t first = 0;
    for (std::size_t i = 0; i < actual.size(); ++i) {
        if (actual[i] != expected[i]) {
            if (differing++ == 0) first = i;
        }
    }
    if (differing == 0) {
        return ::testing::AssertionSuccess();
    }
    const auto w = static_cast<std::size_t>(width);
    return ::testing::AssertionFailure()
           << differing << " pixels differ; first at (" << first % w << ", " << first / w << "): 0x"
           << std::hex << actual[first] << " instead of 0x" << expected[first];
}

inline ::testing::AssertionResult iconIs(const IconCanvas& canvas, const IconPixels& expected) {
    return sameSurface(canvas.SmallPicture.pixels(), expected, 32);
}

inline ::testing::AssertionResult viewIs(const IconCanvas& canvas,
                                         const std::vector<std::uint32_t>& expected) {
    return sameSurface(canvas.LargePicture.pixels(), expected, 319);
}

// A canvas right after start-up.
inline IconCanvas startedCanvas() {
    IconCanvas canvas;
    canvas.Form_Load();
    return canvas;
}

}  // namespace mosaikon::test

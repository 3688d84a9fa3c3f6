// Cells painted as a batch: the same pixels as painting them one by one, and one change per
// surface that covers just the cells whose pixels changed.
#include <gtest/gtest.h>

#include "SurfaceExpectations.h"

namespace mosaikon {
namespace {

using namespace test;
using grid::Cell;

TEST(CellBatchTest, CellsPaintAsPaintCellPaintsThemAndOnlyTheChangedOnesAreRecorded) {
    IconCanvas single = startedCanvas();
    loadIcon(single, distinctIcon());
    IconCanvas batched = single;
    const std::pair<Cell, Colour> cells[] = {
        {{31, 31}, Colour(kRed)},
        {{0, 31}, Colour(kBlue)},
        {{31, 0}, Colour::system(2)},
        {{7, 9}, Colour(distinctIcon()[9 * 32 + 7])},  // its own colour
        {{12, 4}, Colour(kRed)},
        {{12, 4}, Colour(kBlue)}};
    CellBatch batch({batched.SmallPicture, batched.LargePicture, &batched.opacity});
    for (const auto& [cell, colour] : cells) {
        paintCell({single.SmallPicture, single.LargePicture, &single.opacity}, cell, colour);
        batch.paint(cell, colour);
    }
    batch.finish();
    EXPECT_EQ(batched.SmallPicture.pixels(), single.SmallPicture.pixels());
    EXPECT_EQ(batched.LargePicture.pixels(), single.LargePicture.pixels());
    // (31, 31) is red already: what changed spans the other two.
    CellBatch again({batched.SmallPicture, batched.LargePicture, &batched.opacity});
    const std::uint64_t before[] = {batched.SmallPicture.revision(),
                                    batched.LargePicture.revision()};
    again.paint(std::vector<Cell>{{31, 31}, {12, 4}, {0, 31}}, Colour(kRed));
    again.finish();
    EXPECT_EQ(batched.SmallPicture.changedSince(before[0]), (PixelArea{0, 4, 13, 32}));
    EXPECT_EQ(batched.LargePicture.changedSince(before[1]), (PixelArea{1, 41, 130, 319}));
}

// What a view repaints after a tool: the cells it changed, not the whole view.
TEST(CellBatchTest, ToolsRecordTheCellsTheyChangedOnEachSurface) {
    IconPixels icon = distinctIcon();
    for (int c = 3; c <= 5; ++c) icon[static_cast<std::size_t>(2 * 32 + c)] = kRed;
    IconCanvas canvas = startedCanvas();
    loadIcon(canvas, icon);
    canvas.selectTool(Tool::Select);
    canvas.toolPress({3, 0}, MouseButton::Primary);
    canvas.toolRelease({5, 2});
    std::uint64_t revisions[] = {canvas.SmallPicture.revision(), canvas.LargePicture.revision()};
    canvas.flipSelection(FlipAxis::LeftRight);  // its red bottom row stays as it was
    EXPECT_EQ(canvas.SmallPicture.changedSince(revisions[0]), (PixelArea{3, 0, 6, 2}));
    EXPECT_EQ(canvas.LargePicture.changedSince(revisions[1]), (PixelArea{31, 1, 60, 20}));

    canvas.selectTool(Tool::FilledRectangle);
    canvas.state.CurrentColor = Colour(kRed);
    revisions[0] = canvas.SmallPicture.revision();
    revisions[1] = canvas.LargePicture.revision();
    // More cells than the surfaces remember changes for, still as one area.
    canvas.toolPress({3, 2}, MouseButton::Primary);
    canvas.toolRelease({6, 5});
    EXPECT_EQ(canvas.SmallPicture.changedSince(revisions[0]), (PixelArea{3, 2, 7, 6}));
    EXPECT_EQ(canvas.LargePicture.changedSince(revisions[1]), (PixelArea{31, 21, 70, 60}));
}

}  // namespace
}  // namespace mosaikon

// Undo and redo of every kind of edit, checked over both whole surfaces.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "EditHistory.h"
#include "SurfaceExpectations.h"

namespace mosaikon {
namespace {

using namespace test;

struct Surfaces {
    std::vector<std::uint32_t> icon;
    std::vector<std::uint32_t> view;
    bool operator==(const Surfaces&) const = default;
};

Surfaces surfacesOf(const IconCanvas& canvas) {
    return {canvas.SmallPicture.pixels(), canvas.LargePicture.pixels()};
}

::testing::AssertionResult holds(const IconCanvas& canvas, const Surfaces& expected) {
    if (surfacesOf(canvas) == expected) return ::testing::AssertionSuccess();
    auto icon = sameSurface(canvas.SmallPicture.pixels(), expected.icon, 32);
    if (!icon) return icon << " (icon)";
    auto view = sameSurface(canvas.LargePicture.pixels(), expected.view, 319);
    if (!view) return view << " (view)";
    return ::testing::AssertionSuccess();
}

void stroke(IconCanvas& canvas, std::uint32_t colour, std::vector<std::pair<float, float>> path) {
    canvas.state.CurrentColor = Colour(colour);
    canvas.LargePicture_MouseDown(1, 0, path[0].first, path[0].second);
    for (std::size_t i = 1; i < path.size(); ++i) {
        canvas.LargePicture_MouseMove(1, 0, path[i].first, path[i].second);
    }
}

using Edit = std::function<void(IconCanvas&)>;

// One of each kind of step the editor makes.
const std::vector<std::pair<std::string, Edit>>& everyKindOfEdit() {
    static const std::vector<std::pair<std::string, Edit>> edits = {
        {"paint stroke",
         [](IconCanvas& c) {
             stroke(c, kRed, {{15, 15}, {55, 25}, {305, 315}});
         }},
        {"colour replacement",
         [](IconCanvas& c) {
             c.LargePicture.setMousePointer(pointers::kUpArrow);
             c.state.CurrentColor = Colour(kBlue);
             c.LargePicture_MouseDown(1, 0, 35, 45);
         }},
        {"move left", [](IconCanvas& c) { c.MoveIcon("left"); }},
        {"move right", [](IconCanvas& c) { c.MoveIcon("right"); }},
        {"move up", [](IconCanvas& c) { c.MoveIcon("up"); }},
        {"move down", [](IconCanvas& c) { c.MoveIcon("down"); }},
        {"flip left-right", [](IconCanvas& c) { c.FlipHorizontal(); }},
        {"flip top-bottom", [](IconCanvas& c) { c.FlipVertical(); }},
        {"quarter turn", [](IconCanvas& c) { c.Rotat_Icon(); }},
        {"clear", [](IconCanvas& c) { c.ClearIcon(); }},
        {"new", [](IconCanvas& c) { c.New_Icon(); }},
        {"open a smaller picture",
         [](IconCanvas& c) {
             c.SmallPicture.setPicture(Picture::fromPixels(
                 PictureKind::Icon, 16, 16, std::vector<Pixel>(256, makePixel(Colour(kRed), 255))));
             c.rebuildView();
             c.DrawGrid();
         }},
    };
    return edits;
}

TEST(EditHistory, UndoOfEveryKindOfStepRestoresBothSurfacesAndRedoBringsItBack) {
    for (const auto& [name, edit] : everyKindOfEdit()) {
        SCOPED_TRACE(name);
        IconCanvas canvas = startedCanvas();
        loadIcon(canvas, distinctIcon());
        canvas.MoveIcon("down");  // the view now holds a strip that is not the icon's rebuild
        EditHistory history(canvas.SmallPicture, canvas.LargePicture);
        const Surfaces before = surfacesOf(canvas);

        edit(canvas);
        const Surfaces after = surfacesOf(canvas);
        ASSERT_NE(before, after);
        ASSERT_TRUE(history.record(canvas.SmallPicture, canvas.LargePicture));

        EXPECT_TRUE(history.undo(canvas.SmallPicture, canvas.LargePicture));
        EXPECT_TRUE(holds(canvas, before));
        EXPECT_FALSE(history.canUndo());
        EXPECT_TRUE(history.redo(canvas.SmallPicture, canvas.LargePicture));
        EXPECT_TRUE(holds(canvas, after));
        EXPECT_FALSE(history.canRedo());
    }
}

TEST(EditHistory, AnEditThatChangesNeitherSurfaceAddsNoStep) {
    IconCanvas canvas = startedCanvas();  // white icon: symmetric, so flips change nothing
    EditHistory history(canvas.SmallPicture, canvas.LargePicture);
    canvas.FlipHorizontal();
    EXPECT_FALSE(history.record(canvas.SmallPicture, canvas.LargePicture));
    stroke(canvas, kWhite, {{15, 15}});
    EXPECT_FALSE(history.record(canvas.SmallPicture, canvas.LargePicture));
    EXPECT_FALSE(history.canUndo());
    EXPECT_FALSE(history.undo(canvas.SmallPicture, canvas.LargePicture));
}

TEST(EditHistory, ALongRandomSessionUndoesToItsStartAndRedoesToItsEnd) {
    IconCanvas canvas = startedCanvas();
    EditHistory history(canvas.SmallPicture, canvas.LargePicture);
    std::vector<Surfaces> states = {surfacesOf(canvas)};
    std::mt19937 random(20261207);
    const auto& edits = everyKindOfEdit();
    while (states.size() <= 120) {
        // Mostly strokes, as in real use, between the other commands.
        if (random() % 3 != 0) {
            const auto x = static_cast<float>(random() % 319);
            const auto y = static_cast<float>(random() % 319);
            stroke(canvas, random() % 0x1000000, {{x, y}, {y, x}});
        } else {
            edits[random() % edits.size()].second(canvas);
        }
        if (history.record(canvas.SmallPicture, canvas.LargePicture)) {
            states.push_back(surfacesOf(canvas));
        }
    }
    for (std::size_t i = states.size() - 1; i > 0; --i) {
        ASSERT_TRUE(history.undo(canvas.SmallPicture, canvas.LargePicture));
        ASSERT_TRUE(holds(canvas, states[i - 1])) << "after undoing step " << i;
    }
    EXPECT_FALSE(history.undo(canvas.SmallPicture, canvas.LargePicture));
    for (std::size_t i = 1; i < states.size(); ++i) {
        ASSERT_TRUE(history.redo(canvas.SmallPicture, canvas.LargePicture));
        ASSERT_TRUE(holds(canvas, states[i])) << "after redoing step " << i;
    }
    EXPECT_FALSE(history.redo(canvas.SmallPicture, canvas.LargePicture));
}

TEST(EditHistory, ANewStepAfterAnUndoEndsTheRedoBranch) {
    IconCanvas canvas = startedCanvas();
    EditHistory history(canvas.SmallPicture, canvas.LargePicture);
    stroke(canvas, kRed, {{15, 15}});
    history.record(canvas.SmallPicture, canvas.LargePicture);
    stroke(canvas, kBlue, {{25, 15}});
    history.record(canvas.SmallPicture, canvas.LargePicture);
    history.undo(canvas.SmallPicture, canvas.LargePicture);
    ASSERT_TRUE(history.canRedo());

    canvas.FlipVertical();
    EXPECT_TRUE(history.record(canvas.SmallPicture, canvas.LargePicture));
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(history.undoCount(), 2u);
}

TEST(EditHistory, AChangeNotYetRecordedIsWhatUndoTakesBackAndRedoRestores) {
    IconCanvas canvas = startedCanvas();
    EditHistory history(canvas.SmallPicture, canvas.LargePicture);
    const Surfaces start = surfacesOf(canvas);
    stroke(canvas, kRed, {{15, 15}});
    const Surfaces painted = surfacesOf(canvas);

    EXPECT_TRUE(history.undo(canvas.SmallPicture, canvas.LargePicture));
    EXPECT_TRUE(holds(canvas, start));
    EXPECT_TRUE(history.redo(canvas.SmallPicture, canvas.LargePicture));
    EXPECT_TRUE(holds(canvas, painted));
}

TEST(EditHistory, KeepsTheLastStepsUpToItsCapacity) {
    IconCanvas canvas = startedCanvas();
    EditHistory history(canvas.SmallPicture, canvas.LargePicture, 5);
    std::vector<Surfaces> states = {surfacesOf(canvas)};
    for (int i = 0; i < 8; ++i) {
        stroke(canvas, kRed, {{15.0f + 10.0f * static_cast<float>(i), 15}});
        history.record(canvas.SmallPicture, canvas.LargePicture);
        states.push_back(surfacesOf(canvas));
    }
    EXPECT_EQ(history.undoCount(), 5u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(history.undo(canvas.SmallPicture, canvas.LargePicture));
    }
    EXPECT_FALSE(history.undo(canvas.SmallPicture, canvas.LargePicture));
    EXPECT_TRUE(holds(canvas, states[3]));
}

}  // namespace
}  // namespace mosaikon

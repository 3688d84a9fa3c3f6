#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "OpacityPlane.h"
#include "PictureBox.h"
#include "SelectionRecord.h"

namespace mosaikon {

// Undo and redo over the icon's two surfaces, the icon surface and the magnified view, and the
// icon's opacity plane when it is given one (kept as a third surface, the same way).
//
// The history keeps a copy of both surfaces as they stood at the last record. record() compares
// the surfaces with that copy and keeps, for each row that changed, the exclusive-or of its old
// and new pixels as runs. One such delta serves both directions, and a step costs what it
// changed: a painted cell is a few runs, a flip a few hundred. Rows of the view repeat (the nine
// pixel rows of a cell row), so rows that changed alike share one delta.
//
// Undo and redo restore the surfaces exactly as they were, so an undone step leaves no trace:
// the view keeps any strip a move left behind, as it was.
//
// The selection's state goes with the surfaces. A step keeps the selection before and after it
// (only when either was held, so other steps cost one null pointer), and after an undo or redo
// selection() is the one that goes with the surfaces as they now are.
class EditHistory {
public:
    static constexpr std::size_t kDefaultCapacity = 1000;

    // Starts an empty history at the surfaces as they are now. Keeps at least the last
    // `capacity` steps.
    EditHistory(const PictureBox& icon, const PictureBox& view,
                std::size_t capacity = kDefaultCapacity);
    // The same with the opacity plane; every later call then passes the plane too.
    EditHistory(const PictureBox& icon, const PictureBox& view, const OpacityPlane& opacity,
                std::size_t capacity = kDefaultCapacity);

    // Records what changed on either surface since the last record, undo or redo as one step,
    // and ends the redo branch. Returns false, and records nothing, when neither changed.
    bool record(const PictureBox& icon, const PictureBox& view);
    // The same, with the selection as it stands after the change. When neither surface
    // changed, no step is recorded but the selection is taken, so that the next step starts
    // from it: undoing a move of a selection puts it back where it was before that move.
    bool record(const PictureBox& icon, const PictureBox& view, SelectionRecord selection);
    bool record(const PictureBox& icon, const PictureBox& view, const OpacityPlane& opacity,
                SelectionRecord selection);
    // The selection that goes with the surfaces as the history last saw them; after undo() or
    // redo() the caller puts it back (IconCanvas::restoreSelection).
    const SelectionRecord& selection() const { return m_selection; }

    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    std::size_t undoCount() const { return m_undo.size(); }
    std::size_t redoCount() const { return m_redo.size(); }

    // Takes back the last step. A change made since the last record is recorded first, so it
    // is what gets taken back and nothing is lost. Returns false when there is nothing to undo.
    bool undo(PictureBox& icon, PictureBox& view);
    bool undo(PictureBox& icon, PictureBox& view, OpacityPlane& opacity);
    // Brings back the last undone step; false when there is none (or a new change ended it).
    bool redo(PictureBox& icon, PictureBox& view);
    bool redo(PictureBox& icon, PictureBox& view, OpacityPlane& opacity);

    // Bytes the history holds: its copy of the surfaces and every step.
    std::size_t memoryBytes() const;

private:
    // A span of one row in which old XOR new is the same non-zero value.
    struct Run {
        std::uint16_t start;
        std::uint16_t length;
        std::uint32_t delta;
        friend bool operator==(const Run&, const Run&) = default;
    };
    // Consecutive rows that changed by the same delta.
    struct RowChange {
        std::uint32_t firstRow;
        std::uint32_t rowCount;
        std::vector<Run> runs;
    };
    struct SelectionChange {
        SelectionRecord before;
        SelectionRecord after;
    };
    static constexpr std::size_t kLayers = 3;  // icon, view, opacity plane
    // The surfaces a call reads, and those undo and redo write; the plane's null when not kept.
    using Layers = std::array<const PictureBox*, kLayers>;
    using Targets = std::array<PictureBox*, kLayers>;
    struct Step {
        std::array<std::vector<RowChange>, kLayers> surfaces;  // icon, view, opacity
        std::unique_ptr<SelectionChange> selection;            // null: none held before or after
    };
    struct Mirror {
        int width = 0;
        int height = 0;
        std::vector<std::uint32_t> pixels;
        // The surface and its revision when the mirror last matched it: a record after a
        // handler that changed nothing (a pointer move, say) compares no pixels, and one after
        // a small change compares only the rows the surface says it touched.
        const PictureBox* source = nullptr;
        std::uint64_t revision = 0;
    };

    EditHistory(Layers layers, std::size_t capacity);
    // The surfaces a call was given; throws unless they are the kinds and sizes it started with.
    Layers layersOf(const PictureBox& icon, const PictureBox& view,
                    const OpacityPlane* opacity) const;
    Targets targetsOf(PictureBox& icon, PictureBox& view, OpacityPlane* opacity) const;
    static std::vector<RowChange> diff(Mirror& mirror, const PictureBox& surface);
    bool recordLayers(const Layers& layers, SelectionRecord selection);
    bool undoLayers(const Targets& targets);
    bool redoLayers(const Targets& targets);
    void apply(const Step& step, const Targets& targets);

    std::size_t m_capacity;
    bool m_keepsOpacity;
    std::array<Mirror, kLayers> m_mirrors;
    std::deque<Step> m_undo;
    std::vector<Step> m_redo;
    SelectionRecord m_selection;
};

}  // namespace mosaikon

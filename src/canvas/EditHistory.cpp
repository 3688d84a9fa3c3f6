#include "EditHistory.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "Selection.h"

namespace mosaikon {

namespace {

constexpr std::size_t kOpacity = 2;

std::span<const std::uint32_t> rowOf(const std::vector<std::uint32_t>& pixels, int width,
                                     std::uint32_t row) {
    const auto w = static_cast<std::size_t>(width);
    return std::span<const std::uint32_t>(pixels).subspan(row * w, w);
}

// The surfaces undo and redo write, as the record that precedes them reads them.
template <std::size_t N>
std::array<const PictureBox*, N> readOnly(const std::array<PictureBox*, N>& targets) {
    std::array<const PictureBox*, N> layers{};
    std::copy(targets.begin(), targets.end(), layers.begin());
    return layers;
}

}  // namespace

EditHistory::EditHistory(const PictureBox& icon, const PictureBox& view, std::size_t capacity)
    : EditHistory(Layers{&icon, &view, nullptr}, capacity) {}

EditHistory::EditHistory(const PictureBox& icon, const PictureBox& view,
                         const OpacityPlane& opacity, std::size_t capacity)
    : EditHistory(Layers{&icon, &view, &opacity.layer()}, capacity) {}

EditHistory::EditHistory(Layers layers, std::size_t capacity)
    : m_capacity(std::max<std::size_t>(capacity, 1)), m_keepsOpacity(layers[kOpacity] != nullptr) {
    for (std::size_t i = 0; i < kLayers; ++i) {
        if (layers[i] == nullptr) {
            continue;
        }
        // Runs store their columns in 16 bits.
        if (layers[i]->widthPixels() > std::numeric_limits<std::uint16_t>::max()) {
            throw std::invalid_argument("A surface is too wide for the edit history.");
        }
        m_mirrors[i] = {layers[i]->widthPixels(), layers[i]->heightPixels(), layers[i]->pixels(),
                        layers[i], layers[i]->revision()};
    }
}

EditHistory::Layers EditHistory::layersOf(const PictureBox& icon, const PictureBox& view,
                                          const OpacityPlane* opacity) const {
    if ((opacity != nullptr) != m_keepsOpacity) {
        throw std::invalid_argument(
            "The edit history was given the opacity plane only some of the time.");
    }
    const Layers layers{&icon, &view, opacity ? &opacity->layer() : nullptr};
    for (std::size_t i = 0; i < kLayers; ++i) {
        if (layers[i] != nullptr && (layers[i]->widthPixels() != m_mirrors[i].width ||
                                     layers[i]->heightPixels() != m_mirrors[i].height)) {
            throw std::invalid_argument("The edit history was given surfaces of another size.");
        }
    }
    return layers;
}

// Compares `surface` with `mirror` row by row, brings the mirror up to date, and returns the
// rows that changed with their deltas.
std::vector<EditHistory::RowChange> EditHistory::diff(Mirror& mirror, const PictureBox& surface) {
    std::vector<RowChange> changes;
    const auto width = static_cast<std::size_t>(mirror.width);
    const std::vector<std::uint32_t>& now = surface.pixels();
    // Another surface than last time, or one further on than it remembers, is compared whole.
    PixelArea rows{0, 0, mirror.width, mirror.height};
    if (mirror.source == &surface) {
        rows = surface.changedSince(mirror.revision);
    }
    mirror.source = &surface;
    mirror.revision = surface.revision();
    const auto lastRow = static_cast<std::uint32_t>(rows.isEmpty() ? 0 : rows.bottom);
    for (auto row = static_cast<std::uint32_t>(rows.top); row < lastRow; ++row) {
        const auto before = rowOf(mirror.pixels, mirror.width, row);
        const auto after = rowOf(now, mirror.width, row);
        if (std::equal(before.begin(), before.end(), after.begin())) {
            continue;
        }
        std::vector<Run> runs;
        for (std::size_t x = 0; x < width;) {
            const std::uint32_t delta = before[x] ^ after[x];
            std::size_t end = x + 1;
            while (end < width && (before[end] ^ after[end]) == delta) {
                ++end;
            }
            if (delta != 0) {
                runs.push_back(
                    {static_cast<std::uint16_t>(x), static_cast<std::uint16_t>(end - x), delta});
            }
            x = end;
        }
        runs.shrink_to_fit();
        const bool sameAsRowAbove = !changes.empty() &&
                                    changes.back().firstRow + changes.back().rowCount == row &&
                                    changes.back().runs == runs;
        if (sameAsRowAbove) {
            ++changes.back().rowCount;
        } else {
            changes.push_back({row, 1, std::move(runs)});
        }
        std::copy(after.begin(), after.end(),
                  mirror.pixels.begin() + static_cast<std::ptrdiff_t>(row * width));
    }
    changes.shrink_to_fit();
    return changes;
}

EditHistory::Targets EditHistory::targetsOf(PictureBox& icon, PictureBox& view,
                                            OpacityPlane* opacity) const {
    layersOf(icon, view, opacity);  // the same checks
    return {&icon, &view, opacity ? &opacity->layer() : nullptr};
}

bool EditHistory::record(const PictureBox& icon, const PictureBox& view) {
    return recordLayers(layersOf(icon, view, nullptr), m_selection);
}

bool EditHistory::record(const PictureBox& icon, const PictureBox& view,
                         SelectionRecord selection) {
    return recordLayers(layersOf(icon, view, nullptr), std::move(selection));
}

bool EditHistory::record(const PictureBox& icon, const PictureBox& view,
                         const OpacityPlane& opacity, SelectionRecord selection) {
    return recordLayers(layersOf(icon, view, &opacity), std::move(selection));
}

bool EditHistory::undo(PictureBox& icon, PictureBox& view) {
    return undoLayers(targetsOf(icon, view, nullptr));
}

bool EditHistory::undo(PictureBox& icon, PictureBox& view, OpacityPlane& opacity) {
    return undoLayers(targetsOf(icon, view, &opacity));
}

bool EditHistory::redo(PictureBox& icon, PictureBox& view) {
    return redoLayers(targetsOf(icon, view, nullptr));
}

bool EditHistory::redo(PictureBox& icon, PictureBox& view, OpacityPlane& opacity) {
    return redoLayers(targetsOf(icon, view, &opacity));
}

bool EditHistory::recordLayers(const Layers& layers, SelectionRecord selection) {
    Step step;
    bool changed = false;
    for (std::size_t i = 0; i < kLayers; ++i) {
        if (layers[i] != nullptr) {
            step.surfaces[i] = diff(m_mirrors[i], *layers[i]);
            changed = changed || !step.surfaces[i].empty();
        }
    }
    if (!changed) {
        m_selection = std::move(selection);
        return false;
    }
    if (m_selection != nullptr || selection != nullptr) {
        step.selection =
            std::make_unique<SelectionChange>(SelectionChange{std::move(m_selection), selection});
    }
    m_selection = std::move(selection);
    m_redo.clear();
    m_undo.push_back(std::move(step));
    if (m_undo.size() > m_capacity) {
        m_undo.pop_front();
    }
    return true;
}

// Flips every recorded row between its old and new pixels, in the mirror and on the surface.
void EditHistory::apply(const Step& step, const Targets& targets) {
    for (std::size_t i = 0; i < kLayers; ++i) {
        if (targets[i] == nullptr) {
            continue;
        }
        Mirror& mirror = m_mirrors[i];
        const auto width = static_cast<std::size_t>(mirror.width);
        for (const RowChange& change : step.surfaces[i]) {
            for (std::uint32_t r = 0; r < change.rowCount; ++r) {
                std::uint32_t* row = mirror.pixels.data() + (change.firstRow + r) * width;
                for (const Run& run : change.runs) {
                    std::uint32_t* first = row + run.start;
                    std::for_each(first, first + run.length,
                                  [&](std::uint32_t& p) { p ^= run.delta; });
                }
            }
        }
        if (!step.surfaces[i].empty()) {
            targets[i]->restorePixels(mirror.pixels);
        }
    }
}

bool EditHistory::undoLayers(const Targets& targets) {
    recordLayers(readOnly(targets), m_selection);
    if (m_undo.empty()) {
        return false;
    }
    Step step = std::move(m_undo.back());
    m_undo.pop_back();
    apply(step, targets);
    m_selection = step.selection ? step.selection->before : nullptr;
    m_redo.push_back(std::move(step));
    return true;
}

bool EditHistory::redoLayers(const Targets& targets) {
    // A change since the last record would end the redo branch; keep it rather than lose it.
    if (recordLayers(readOnly(targets), m_selection) || m_redo.empty()) {
        return false;
    }
    Step step = std::move(m_redo.back());
    m_redo.pop_back();
    apply(step, targets);
    m_selection = step.selection ? step.selection->after : nullptr;
    m_undo.push_back(std::move(step));
    return true;
}

std::size_t EditHistory::memoryBytes() const {
    std::size_t bytes = sizeof(*this);
    for (const Mirror& mirror : m_mirrors) {
        bytes += mirror.pixels.capacity() * sizeof(std::uint32_t);
    }
    const auto stepBytes = [](const Step& step) {
        std::size_t total = sizeof(Step);
        for (const auto& rows : step.surfaces) {
            total += rows.capacity() * sizeof(RowChange);
            for (const RowChange& change : rows) {
                total += change.runs.capacity() * sizeof(Run);
            }
        }
        // The selection after the step; the one before is the one after an earlier step.
        if (step.selection) {
            total += sizeof(SelectionChange);
            if (const SelectionState* after = step.selection->after.get()) {
                total +=
                    sizeof(SelectionState) +
                    (after->pixels.capacity() + after->beneath.capacity()) * sizeof(std::uint32_t);
            }
        }
        return total;
    };
    for (const Step& step : m_undo) {
        bytes += stepBytes(step);
    }
    for (const Step& step : m_redo) {
        bytes += stepBytes(step);
    }
    return bytes;
}

}  // namespace mosaikon

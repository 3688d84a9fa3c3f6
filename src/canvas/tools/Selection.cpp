#include "Selection.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "OpacityPlane.h"

namespace mosaikon {

namespace {

constexpr int kEdge = grid::kCells;
constexpr std::uint32_t kWhite = colours::kWhite.value();

std::size_t iconIndex(int column, int row) {
    return static_cast<std::size_t>(row * kEdge + column);
}

std::size_t indexIn(const shapes::CellRect& rect, int column, int row) {
    return static_cast<std::size_t>((row - rect.top) * rect.width + (column - rect.left));
}

// The part of `rect` that lies on the icon; its width or height is 0 or less when none does.
shapes::CellRect onIcon(const shapes::CellRect& rect) {
    const int left = std::max(rect.left, 0);
    const int top = std::max(rect.top, 0);
    const int right = std::min(rect.right(), kEdge - 1);
    const int bottom = std::min(rect.bottom(), kEdge - 1);
    return {left, top, right - left + 1, bottom - top + 1};
}

shapes::CellRect united(const shapes::CellRect& a, const shapes::CellRect& b) {
    const int left = std::min(a.left, b.left);
    const int top = std::min(a.top, b.top);
    return {left, top, std::max(a.right(), b.right()) - left + 1,
            std::max(a.bottom(), b.bottom()) - top + 1};
}

// The colour a floating selection shows at an icon cell: its own pixel, or what lies beneath.
std::uint32_t shownAt(const SelectionState& state, int column, int row) {
    if (state.rect.contains({column, row})) {
        return state.pixels[indexIn(state.rect, column, row)];
    }
    return state.beneath[iconIndex(column, row)];
}

Pixel opacityShownAt(const SelectionState& state, int column, int row) {
    if (state.rect.contains({column, row})) {
        return state.opacity[indexIn(state.rect, column, row)];
    }
    return state.opacityBeneath[iconIndex(column, row)];
}

// Mirrors `cells`, the pixels of `rect` row by row; an empty list stays empty.
void flipCells(std::vector<std::uint32_t>& cells, const shapes::CellRect& rect, FlipAxis axis) {
    if (cells.empty()) {
        return;
    }
    const auto width = static_cast<std::ptrdiff_t>(rect.width);
    auto rowStart = [&](int row) { return cells.begin() + row * width; };
    if (axis == FlipAxis::LeftRight) {
        for (int row = 0; row < rect.height; ++row) {
            std::reverse(rowStart(row), rowStart(row) + width);
        }
    } else {
        for (int top = 0, bottom = rect.height - 1; top < bottom; ++top, --bottom) {
            std::swap_ranges(rowStart(top), rowStart(top) + width, rowStart(bottom));
        }
    }
}

}  // namespace

const SelectionState* Selection::current(const PictureBox& icon) const {
    return m_state != nullptr && icon.revision() == m_iconRevision ? m_state.get() : nullptr;
}

void Selection::select(const PictureBox& icon, const shapes::CellRect& rect) {
    const shapes::CellRect part = onIcon(rect);
    if (part.width <= 0 || part.height <= 0) {
        m_state.reset();
        return;
    }
    m_state = std::make_shared<const SelectionState>(SelectionState{part, {}, {}, {}, {}});
    m_iconRevision = icon.revision();
}

SelectionState Selection::lifted(IconSurfaces surfaces) const {
    SelectionState state = *current(surfaces.icon);
    if (state.isFloating()) {
        return state;
    }
    state.beneath = surfaces.icon.pixels();
    const auto count = static_cast<std::size_t>(state.rect.width * state.rect.height);
    state.pixels.reserve(count);
    if (surfaces.opacity != nullptr) {
        state.opacityBeneath = surfaces.opacity->pixels();
        state.opacity.reserve(count);
    }
    for (int row = state.rect.top; row <= state.rect.bottom(); ++row) {
        for (int column = state.rect.left; column <= state.rect.right(); ++column) {
            std::uint32_t& below = state.beneath[iconIndex(column, row)];
            state.pixels.push_back(below);
            below = kWhite;
            if (surfaces.opacity != nullptr) {
                Pixel& clear = state.opacityBeneath[iconIndex(column, row)];
                state.opacity.push_back(clear);
                clear = kTransparentPixel;
            }
        }
    }
    return state;
}

void Selection::show(IconSurfaces surfaces, SelectionState next) {
    shapes::CellRect changed = next.rect;
    if (const SelectionState* before = current(surfaces.icon)) {
        changed = united(changed, before->rect);
    }
    changed = onIcon(changed);
    CellBatch batch(surfaces);
    for (int row = changed.top; row <= changed.bottom(); ++row) {
        for (int column = changed.left; column <= changed.right(); ++column) {
            const std::uint32_t colour = shownAt(next, column, row);
            if (surfaces.icon.pixel(column, row).value() != colour) {
                batch.paint({column, row}, Colour(colour));
            }
        }
    }
    batch.finish();
    // The painted cells are opaque in the plane; it takes what the selection really holds.
    if (surfaces.opacity != nullptr && !next.opacity.empty()) {
        for (int row = changed.top; row <= changed.bottom(); ++row) {
            for (int column = changed.left; column <= changed.right(); ++column) {
                surfaces.opacity->set(column, row, opacityShownAt(next, column, row));
            }
        }
    }
    m_state = std::make_shared<const SelectionState>(std::move(next));
    m_iconRevision = surfaces.icon.revision();
}

void Selection::moveTo(IconSurfaces surfaces, int left, int top) {
    const SelectionState* now = current(surfaces.icon);
    if (now == nullptr || (now->rect.left == left && now->rect.top == top)) {
        return;
    }
    SelectionState next = lifted(surfaces);
    next.rect.left = left;
    next.rect.top = top;
    show(surfaces, std::move(next));
}

void Selection::erase(IconSurfaces surfaces) {
    if (current(surfaces.icon) == nullptr) {
        return;
    }
    SelectionState next = lifted(surfaces);
    std::fill(next.pixels.begin(), next.pixels.end(), kWhite);
    std::fill(next.opacity.begin(), next.opacity.end(), kTransparentPixel);
    show(surfaces, std::move(next));
}

void Selection::flip(IconSurfaces surfaces, FlipAxis axis) {
    if (current(surfaces.icon) == nullptr) {
        return;
    }
    SelectionState next = lifted(surfaces);
    flipCells(next.pixels, next.rect, axis);
    flipCells(next.opacity, next.rect, axis);
    show(surfaces, std::move(next));
}

Picture Selection::picture(const PictureBox& icon, const OpacityPlane* opacity) const {
    const SelectionState* now = current(icon);
    if (now == nullptr) {
        return {};
    }
    std::vector<Pixel> pixels;
    pixels.reserve(static_cast<std::size_t>(now->rect.width * now->rect.height));
    for (int row = now->rect.top; row <= now->rect.bottom(); ++row) {
        for (int column = now->rect.left; column <= now->rect.right(); ++column) {
            const std::uint32_t plain = now->isFloating()
                                            ? now->pixels[indexIn(now->rect, column, row)]
                                            : icon.pixel(column, row).value();
            if (opacity == nullptr) {
                pixels.push_back(opaquePixel(Colour(plain)));
            } else if (now->isFloating() && !now->opacity.empty()) {
                pixels.push_back(now->opacity[indexIn(now->rect, column, row)]);
            } else {
                pixels.push_back(opacity->at(column, row));
            }
        }
    }
    return Picture::fromPixels(opacity == nullptr ? PictureKind::Bitmap : PictureKind::Icon,
                               now->rect.width, now->rect.height, std::move(pixels));
}

void Selection::paste(IconSurfaces surfaces, const Picture& picture) {
    if (picture.width() < 1 || picture.height() < 1 || picture.width() > kEdge ||
        picture.height() > kEdge) {
        throw std::invalid_argument("A pasted picture must be between 1 × 1 and 32 × 32 pixels.");
    }
    // Drawn on white as the icon surface draws a picture, so transparency shows as it would.
    PictureBox shown(picture.width(), picture.height(), colours::kWhite);
    shown.setPicture(picture);
    putDown();
    SelectionState pasted{
        {0, 0, picture.width(), picture.height()}, shown.pixels(), surfaces.icon.pixels(), {}, {}};
    if (surfaces.opacity != nullptr) {
        OpacityPlane own;
        own.take(picture);
        for (int row = 0; row < picture.height(); ++row) {
            for (int column = 0; column < picture.width(); ++column) {
                pasted.opacity.push_back(own.at(column, row));
            }
        }
        pasted.opacityBeneath = surfaces.opacity->pixels();
    }
    show(surfaces, std::move(pasted));
}

SelectionRecord Selection::record(const PictureBox& icon) const {
    return current(icon) != nullptr ? m_state : nullptr;
}

void Selection::restore(const PictureBox& icon, SelectionRecord record) {
    m_state = std::move(record);
    m_iconRevision = icon.revision();
}

}  // namespace mosaikon

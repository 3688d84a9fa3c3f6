#include "PreviewSheet.h"

#include <algorithm>

#include "IconScaling.h"

namespace mosaikon {

namespace {

constexpr int kIconEdge = 32;
constexpr Colour kCheckerDark{0x00CCCCCCu};

int sheetWidth() {
    int width = PreviewSheet::kGap;
    for (const PreviewColumn column : kPreviewColumns) {
        width += PreviewSheet::widthOf(column) + PreviewSheet::kGap;
    }
    return width;
}

constexpr int sheetHeight() {
    return PreviewSheet::kGap + static_cast<int>(kPreviewBackgrounds.size()) *
                                    (PreviewSheet::kRowHeight + PreviewSheet::kGap);
}

}  // namespace

PreviewSheet::PreviewSheet() : m_sheet(sheetWidth(), sheetHeight(), kGapColour) {}

int PreviewSheet::widthOf(PreviewColumn column) {
    switch (column) {
        case PreviewColumn::Actual:
            return kIconEdge;
        case PreviewColumn::Double:
            return 2 * kIconEdge;
        case PreviewColumn::Quadruple:
            return 4 * kIconEdge;
        case PreviewColumn::Side16:
            return 16;
        case PreviewColumn::Side48:
            return 48;
        case PreviewColumn::Tiled:
            return 3 * kIconEdge;
    }
    return kIconEdge;
}

Colour PreviewSheet::colourOf(PreviewBackground background) {
    switch (background) {
        case PreviewBackground::White:
        case PreviewBackground::Checkerboard:
            return colours::kWhite;
        case PreviewBackground::LightGrey:
            return Colour(0x00C0C0C0u);
        case PreviewBackground::DarkGrey:
            return Colour(0x00404040u);
        case PreviewBackground::Black:
            return colours::kBlack;
    }
    return colours::kWhite;
}

// Each view sits at the top of its row, so the small ones line up with the large ones.
PixelArea PreviewSheet::areaOf(PreviewBackground background, PreviewColumn column) {
    int left = kGap;
    for (const PreviewColumn before : kPreviewColumns) {
        if (before == column) {
            break;
        }
        left += widthOf(before) + kGap;
    }
    const int top = kGap + static_cast<int>(background) * (kRowHeight + kGap);
    const int side = widthOf(column);
    return {left, top, left + side, top + side};
}

void PreviewSheet::drawBackground(const PixelArea& area, PreviewBackground background) {
    PictureBox::Batch batch(m_sheet);
    batch.fill(area, colourOf(background).value());
    if (background != PreviewBackground::Checkerboard) {
        return;
    }
    for (int y = area.top; y < area.bottom; y += kCheckerSquare) {
        for (int x = area.left; x < area.right; x += kCheckerSquare) {
            const bool dark =
                ((x - area.left) / kCheckerSquare + (y - area.top) / kCheckerSquare) % 2;
            if (dark) {
                batch.fill({x, y, std::min(x + kCheckerSquare, area.right),
                            std::min(y + kCheckerSquare, area.bottom)},
                           kCheckerDark.value());
            }
        }
    }
}

void PreviewSheet::draw(const Picture& icon) {
    const Picture side16 = iconAtSide(icon, 16);
    const Picture side48 = iconAtSide(icon, 48);
    for (const PreviewBackground background : kPreviewBackgrounds) {
        for (const PreviewColumn column : kPreviewColumns) {
            const PixelArea area = areaOf(background, column);
            drawBackground(area, background);
            const int side = widthOf(column);
            switch (column) {
                case PreviewColumn::Side16:
                    m_sheet.PaintPicture(side16, area.left, area.top, side, side);
                    break;
                case PreviewColumn::Side48:
                    m_sheet.PaintPicture(side48, area.left, area.top, side, side);
                    break;
                case PreviewColumn::Tiled:
                    for (int tile = 0; tile < 9; ++tile) {
                        m_sheet.PaintPicture(icon, area.left + tile % 3 * kIconEdge,
                                             area.top + tile / 3 * kIconEdge, kIconEdge, kIconEdge);
                    }
                    break;
                default:
                    m_sheet.PaintPicture(icon, area.left, area.top, side, side);
                    break;
            }
        }
    }
}

}  // namespace mosaikon

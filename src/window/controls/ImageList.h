#pragma once

#include <QIcon>
#include <QSize>
#include <QString>
#include <cstdint>
#include <vector>

namespace mosaikon {

// A list of same-sized images referred to by 1-based index; the toolbar takes its pictures
// from one. Each image carries its own transparency, so the mask colour is only recorded.
struct ImageList {
    struct ListImage {
        QString Key;
        QIcon Picture;
        QString Resource;  // the name of the picture among the program's own
    };

    QSize ImageSize;
    std::uint32_t MaskColor = 0;
    std::vector<ListImage> ListImages;

    int count() const { return static_cast<int>(ListImages.size()); }
    // The picture at 1-based `index`; the empty icon for any other index.
    QIcon picture(int index) const {
        if (index < 1 || index > count()) {
            return {};
        }
        return ListImages[static_cast<std::size_t>(index - 1)].Picture;
    }
};

}  // namespace mosaikon

// Creates every control of the window with its place, size and stored look. Controls are made
// from the bottom of the stacking order upwards, so each new one lies over those made before.
#include <QIcon>
#include <QLabel>

#include "controls/ClickableLabel.h"
#include "controls/ControlLook.h"
#include "controls/PictureBoxView.h"
#include "controls/ResourcePictures.h"
#include "controls/ToolbarView.h"
#include "controls/WebLink.h"
#include "mainwindow/frmEditIcon.h"
#include "tools/ToolOverlay.h"

namespace mosaikon {

namespace {

constexpr Colour kPanelGrey{0x00E0E0E0u};
constexpr Colour kSteelBlue{0x00C7AF8Du};
constexpr Colour kLinkBlue{0x00FF0000u};
constexpr std::uint32_t kSilverMask = 0x00C0C0C0u;

template <typename Label = QLabel>
Label* makeLabel(QWidget* parent, const char* name, const QRect& geometry,
                 const QString& caption = {}) {
    auto* label = new Label(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

// A one-pixel black line round the label, the flat border of the layout.
void setFlatBorder(QLabel* label) {
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setLineWidth(1);
    setForeColor(label, colours::kBlack);
}

}  // namespace

void frmEditIcon::createControls() {
    createLeftColumn();
    createToolbar();
    m_largeView = new PictureBoxView(m_canvas.LargePicture, PictureBoxView::Border::FlatLine, this);
    m_largeView->setObjectName(QStringLiteral("LargePicture"));
    m_largeView->move(272, 48);
    createSwatchPanel();
    createHiddenHolder();
    createWorkingArea();
    showPicturesForScale(devicePixelRatioF());
}

// The white left column with its texts, the logo, the arrow, and the controls below the grid
// that lie under everything else: the status line and the web link.
void frmEditIcon::createLeftColumn() {
    auto* label2 = makeLabel(this, "Label2", QRect(-64, 0, 241, 441));
    setBackColor(label2, colours::kWhite);

    m_statusBar = makeLabel(this, "lblStatusBar", QRect(192, 376, 489, 25));
    m_statusBar->setTextFormat(Qt::PlainText);  // it shows file names, never markup
    setBackColor(m_statusBar, kSteelBlue);
    setForeColor(m_statusBar, Colour::system(14));
    m_statusBar->setFont(layoutFont(QStringLiteral("Arial"), 9.75, Weight::Bold));

    m_image2 = makeLabel<ClickableLabel>(this, "Image2", QRect(8, 56, 159, 129));
    m_image2->setCursor(Qt::ArrowCursor);

    m_label3 = makeLabel<ClickableLabel>(this, "Label3", QRect(192, 408, 297, 17),
                                         QString::fromLatin1(kMakerAddress) + QLatin1Char('/'));
    m_label3->setFont(layoutFont(QStringLiteral("Verdana"), 9.75, Weight::Bold, Underline::Yes));
    setForeColor(m_label3, kLinkBlue);
    m_label3->setCursor(Qt::CrossCursor);

    auto* label4 = makeLabel(this, "Label4", QRect(8, 16, 169, 17), tr("Freeware from"));
    label4->setFont(layoutFont(QStringLiteral("Arial"), 9.75));
    label4->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    m_pallet2 = makeLabel(this, "Pallet2", QRect(600, 48, 81, 41));
    setBackColor(m_pallet2, m_colours.Pallet2);

    auto* label6 = makeLabel(this, "Label6", QRect(8, 352, 169, 49),
                             tr("Visit us for more free tools and unique entertainment."));
    label6->setFont(layoutFont(QStringLiteral("Arial"), 9.75));
    label6->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label6->setWordWrap(true);

    auto* label7 = makeLabel(this, "Label7", QRect(56, 208, 65, 97), QStringLiteral("*"));
    label7->setFont(layoutFont(QStringLiteral("Arial Black"), 72, Weight::Black));
    label7->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    m_image3 = makeLabel(this, "Image3", QRect(80, 384, 94, 41));

    connect(m_image2, &ClickableLabel::clicked, this,
            [this] { runHandler([this] { Image2_Click(); }); });
    connect(m_label3, &ClickableLabel::clicked, this,
            [this] { runHandler([this] { Label3_Click(); }); });
}

// The one place that builds the toolbar: its images, then its buttons in their order.
void frmEditIcon::createToolbar() {
    m_imageList2.ImageSize = QSize(16, 16);
    m_imageList2.MaskColor = kSilverMask;
    const std::pair<const char*, const char*> images[] = {
        {"Open", "tool-open"},       {"Save", "tool-save"},     {"New", "tool-new"},
        {"Fill", "tool-fill"},       {"Paint", "tool-paint"},   {"Down", "tool-down"},
        {"Up", "tool-up"},           {"Right", "tool-right"},   {"Left", "tool-left"},
        {"Refresh", "tool-refresh"}, {"Exit", "tool-exit"},     {"", "tool-flip-horizontal"},
        {"", "tool-flip-vertical"},  {"Eraser", "tool-eraser"}, {"Grab", "tool-grab"},
    };
    // The pictures themselves are loaded for the display's scale (frmEditIconScale.cpp).
    for (const auto& [key, file] : images) {
        m_imageList2.ListImages.push_back(
            {QString::fromLatin1(key), {}, QString::fromLatin1(file)});
    }

    Toolbar& bar = m_toolbar;
    const auto separator = [&bar] { bar.addButton({}, ButtonStyle::Separator); };
    separator();
    ToolbarButton& open =
        bar.addButton(QStringLiteral("Open"), ButtonStyle::DropDown, tr("Open"), 1);
    bar.addMenuItem(open, tr("Open Icon"));
    bar.addButton(QStringLiteral("New"), ButtonStyle::Default, tr("New"), 3);
    ToolbarButton& save =
        bar.addButton(QStringLiteral("Save"), ButtonStyle::DropDown, tr("Save"), 2);
    bar.addMenuItem(save, tr("Save As Icon"), QStringLiteral("Save_Icon"));
    bar.addMenuItem(save, tr("Save As BMP"), QStringLiteral("Save_BMP"), false);
    separator();
    bar.addButton(QStringLiteral("Paint"), ButtonStyle::Check, tr("Paint"), 5, 1);
    bar.addButton(QStringLiteral("Change"), ButtonStyle::Check, tr("Change"), 4);
    separator();
    bar.addButton(QStringLiteral("Left"), ButtonStyle::Default, tr("Move Left"), 9);
    bar.addButton(QStringLiteral("Down"), ButtonStyle::Default, tr("Move Down"), 6);
    bar.addButton(QStringLiteral("Up"), ButtonStyle::Default, tr("Move Up"), 7);
    bar.addButton(QStringLiteral("Right"), ButtonStyle::Default, tr("Move Right"), 8);
    separator();
    bar.addButton(QStringLiteral("flipHorizontal"), ButtonStyle::Default, tr("Flip Horizontal"),
                  12);
    bar.addButton(QStringLiteral("FlipVert"), ButtonStyle::Default, tr("Flip Vertically"), 13);
    separator();
    bar.addButton(QStringLiteral("Rotate"), ButtonStyle::Default, tr("Rotate"), 10);
    bar.addButton(QStringLiteral("Clear"), ButtonStyle::Default, tr("Clear All"), 14);
    bar.addButton(QStringLiteral("Exit"), ButtonStyle::Default, tr("Exit"), 11);
    bar.addButton(QStringLiteral("Extract"), ButtonStyle::Default, tr("Extract Icon"), 15, 1);

    m_toolbarView = new ToolbarView(m_toolbar, m_imageList2, this);
    m_toolbarView->setObjectName(QStringLiteral("Toolbar1"));
    m_toolbarView->setGeometry(192, 8, 505, 22);
    connect(&m_toolbar, &Toolbar::ButtonClick, this, [this](const ToolbarButton& button) {
        runHandler([this, &button] { Toolbar1_ButtonClick(button); });
    });
    connect(&m_toolbar, &Toolbar::ButtonMenuClick, this, [this](const ToolbarMenuItem& item) {
        runHandler([this, &item] { Toolbar1_ButtonMenuClick(item); });
    });
}

// Picture2: the icon at real size, the swatches and the current colour.
void frmEditIcon::createSwatchPanel() {
    m_swatchPanel = new QWidget(this);
    m_swatchPanel->setObjectName(QStringLiteral("Picture2"));
    m_swatchPanel->setGeometry(192, 48, 73, 321);
    setBackColor(m_swatchPanel, kPanelGrey);

    auto* label5 = makeLabel(m_swatchPanel, "Label5", QRect(0, 248, 73, 73));
    setBackColor(label5, Colour::system(5));
    setFlatBorder(label5);

    m_pallet = makeLabel(m_swatchPanel, "Pallet", QRect(0, 256, 73, 55));
    setBackColor(m_pallet, m_colours.Pallet);

    for (int i = 0; i < ColourChoice::kSwatchCount; ++i) {
        const QPoint place = i < 15 ? QPoint(24 * (i % 3), 64 + 24 * (i / 3)) : QPoint(0, 184);
        auto* swatch =
            makeLabel<ClickableLabel>(m_swatchPanel, "lblColor", QRect(place, QSize(23, 23)));
        swatch->setObjectName(QStringLiteral("lblColor(%1)").arg(i));
        swatch->setProperty("Index", i);
        setFlatBorder(swatch);
        setBackColor(swatch, m_colours.lblColor[static_cast<std::size_t>(i)]);
        const auto index = static_cast<std::int16_t>(i);
        connect(swatch, &ClickableLabel::clicked, this,
                [this, index] { runHandler([this, index] { lblColor_Click(index); }); });
        m_swatches[static_cast<std::size_t>(i)] = swatch;
    }

    auto* image1 = makeLabel(m_swatchPanel, "Image1", QRect(32, 2560, 32, 32));
    image1->setVisible(false);

    m_smallView =
        new PictureBoxView(m_canvas.SmallPicture, PictureBoxView::Border::None, m_swatchPanel);
    m_smallView->setObjectName(QStringLiteral("SmallPicture"));
    m_smallView->move(16, 8);
}

// Picture1: never shown; it holds the banner label. The file dialog and the image lists it
// carries are models owned by the window.
void frmEditIcon::createHiddenHolder() {
    auto* picture1 = new QWidget(this);
    picture1->setObjectName(QStringLiteral("Picture1"));
    picture1->setGeometry(824, 432, 505, 41);
    picture1->setVisible(false);
    auto* label1 = makeLabel(picture1, "Label1", QRect(16, 8, 233, 25), tr("Pixmora Icon Editor"));
    label1->setFont(layoutFont(QStringLiteral("Arial"), 12, Weight::Bold));
}

// The colour strip, top of the stacking order.
void frmEditIcon::createWorkingArea() {
    m_picView = new PictureBoxView(m_colours.Pic, PictureBoxView::Border::None, this);
    m_picView->setObjectName(QStringLiteral("Pic"));
    m_picView->move(600, 96);
    connect(m_picView, &PictureBoxView::mouseDown, this,
            [this](std::int16_t button, std::int16_t shift, float x, float y) {
                runHandler([=, this] { Pic_MouseDown(button, shift, x, y); });
            });
    connect(m_largeView, &PictureBoxView::mouseDown, this,
            [this](std::int16_t button, std::int16_t shift, float x, float y) {
                runHandler([=, this] { gridPressed(button, shift, x, y); });
            });
    connect(m_largeView, &PictureBoxView::mouseMove, this,
            [this](std::int16_t button, std::int16_t shift, float x, float y) {
                runHandler([=, this] { gridMoved(button, shift, x, y); });
            });
    connect(m_largeView, &PictureBoxView::mouseUp, this,
            [this](std::int16_t button, std::int16_t shift, float x, float y) {
                if (gridGoesToToolSession()) {
                    runHandler([=, this] { gridReleased(button, shift, x, y); });
                }
            });
    // Previews and the selection's outline, drawn over the view and never into it.
    m_toolOverlay = new ToolOverlay(m_largeView);
}

}  // namespace mosaikon

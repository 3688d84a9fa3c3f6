// What the window offers a person who cannot see it or cannot use a mouse: a name and a
// description for every control, a Tab order through toolbar, swatches, grid and link, and a
// cell cursor on the grid. None of it changes how the window looks until the keyboard is used.
#include <QLabel>

#include "access/Accessibility.h"
#include "access/GridKeyboard.h"
#include "access/KeyboardFocus.h"
#include "controls/ClickableLabel.h"
#include "controls/PictureBoxView.h"
#include "controls/ToolbarView.h"
#include "mainwindow/frmEditIcon.h"

namespace mosaikon {

namespace {

void takeTabFocus(QWidget* widget) {
    widget->setFocusPolicy(Qt::TabFocus);
    watchTabFocus(widget);
}

}  // namespace

void frmEditIcon::makeAccessible() {
    installAccessibleInterfaces();

    takeTabFocus(m_toolbarView);
    m_toolbarView->setAccessibleName(tr("Commands"));
    m_toolbarView->setAccessibleDescription(
        tr("Tab moves through the buttons; Space or Enter presses one"));

    for (ClickableLabel* swatch : m_swatches) {
        takeTabFocus(swatch);
        setAccessibleRole(swatch, QAccessible::Button);
    }
    m_colourNames =
        std::make_unique<AccessibleColourNames>(m_colours, m_swatches, m_pallet, m_pallet2);
    m_colourNames->update();

    takeTabFocus(m_largeView);
    setAccessibleRole(m_largeView, QAccessible::Canvas);
    m_largeView->setAccessibleName(tr("Icon, magnified 10 times"));
    m_gridKeyboard = new GridKeyboard(m_largeView);
    connect(m_gridKeyboard, &GridKeyboard::cellPressed, this,
            [this](std::int16_t button, std::int16_t shift, float x, float y) {
                runHandler([=, this] { gridSpacePressed(button, shift, x, y); });
            });
    connect(m_gridKeyboard, &GridKeyboard::cursorMoved, this, [this](int column, int row) {
        if (gridGoesToToolSession() && m_canvas.isToolDragging()) {
            runHandler([=, this] { gridCursorMoved(column, row); });
        }
    });

    setAccessibleRole(m_smallView, QAccessible::Graphic);
    m_smallView->setAccessibleName(tr("Icon, actual size"));
    m_smallView->setAccessibleDescription(tr("The icon at its real size, 32 by 32 pixels"));

    // The strip stays a control for the mouse: it takes no keyboard focus.
    setAccessibleRole(m_picView, QAccessible::ColorChooser);
    m_picView->setAccessibleName(tr("Colour spectrum"));
    m_picView->setAccessibleDescription(
        tr("Pressing a colour here with the mouse makes it the painting colour"));

    takeTabFocus(m_label3);
    setAccessibleRole(m_label3, QAccessible::Link);
    m_label3->setAccessibleName(m_label3->text());
    m_label3->setAccessibleDescription(tr("Opens the maker's web page in your web browser"));
    setAccessibleRole(m_image2, QAccessible::Link);
    m_image2->setAccessibleName(tr("Maker's logo"));
    m_image2->setAccessibleDescription(m_label3->accessibleDescription());

    m_statusBar->setAccessibleDescription(tr("Status line: the file opened last"));
    if (auto* arrow = findChild<QLabel*>(QStringLiteral("Image3"))) {
        arrow->setAccessibleName(tr("Arrow pointing at the web link"));
    }

    QWidget* previous = m_toolbarView;
    for (ClickableLabel* swatch : m_swatches) {
        setTabOrder(previous, swatch);
        previous = swatch;
    }
    setTabOrder(previous, m_largeView);
    setTabOrder(m_largeView, m_label3);
    // The cycle above starts at the toolbar: it has the focus when the window first shows.
    m_toolbarView->setFocus(Qt::OtherFocusReason);
}

}  // namespace mosaikon

#include "access/Accessibility.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QWindow>
#include <vector>

#include "access/ColourNames.h"
#include "controls/ClickableLabel.h"
#include "controls/ToolbarView.h"

namespace mosaikon {

namespace {

constexpr const char* kRoleProperty = "mosaikonAccessibleRole";

// One toolbar button: named by its tooltip, pressed through `ToolbarView::pressButton`.
class ToolbarButtonAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
    Q_DECLARE_TR_FUNCTIONS(ToolbarButtonAccessible)
public:
    ToolbarButtonAccessible(ToolbarView* view, int index) : m_view(view), m_index(index) {}

    bool isValid() const override { return m_view && m_index <= m_view->toolbar().count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_view ? m_view->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(m_view);
    }
    QAccessibleInterface* child(int /*index*/) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface* /*child*/) const override { return -1; }
    QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override { return nullptr; }

    QString text(QAccessible::Text t) const override {
        switch (t) {
            case QAccessible::Name:
                return button().ToolTipText;
            case QAccessible::Description:
                return button().Style == ButtonStyle::Separator ? QString() : description(button());
            default:
                return {};
        }
    }
    void setText(QAccessible::Text /*t*/, const QString& /*text*/) override {}

    QRect rect() const override {
        const QRect area = m_view->faceRect(m_index).united(m_view->arrowRect(m_index));
        return {m_view->mapToGlobal(area.topLeft()), area.size()};
    }

    QAccessible::Role role() const override {
        switch (button().Style) {
            case ButtonStyle::Separator:
                return QAccessible::Separator;
            case ButtonStyle::DropDown:
                return QAccessible::ButtonMenu;
            case ButtonStyle::Default:
            case ButtonStyle::Check:
                break;
        }
        return QAccessible::PushButton;
    }

    QAccessible::State state() const override {
        QAccessible::State state;
        if (button().Style == ButtonStyle::Separator) {
            return state;
        }
        state.focusable = true;
        state.focused = m_view->hasFocus() && m_view->focusButton() == m_index;
        state.hasPopup = button().Style == ButtonStyle::DropDown;
        state.checkable = button().Style == ButtonStyle::Check;
        state.checked = state.checkable && button().Value != 0;
        state.pressed = !state.checkable && button().Value != 0;
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }
    QStringList actionNames() const override {
        switch (button().Style) {
            case ButtonStyle::Separator:
                return {};
            case ButtonStyle::DropDown:
                return {showMenuAction()};
            case ButtonStyle::Default:
            case ButtonStyle::Check:
                break;
        }
        return {pressAction()};
    }
    void doAction(const QString& actionName) override {
        if (actionNames().contains(actionName)) {
            m_view->pressButton(m_index);
        }
    }
    QStringList keyBindingsForAction(const QString& /*actionName*/) const override { return {}; }

private:
    // What each toolbar button does, by its key, for the button's accessible description.
    static QString description(const ToolbarButton& button) {
        static const std::pair<const char*, const char*> kDescriptions[] = {
            {"Open",
             QT_TRANSLATE_NOOP("ToolbarButtonAccessible", "Opens a menu for opening an icon file")},
            {"New", QT_TRANSLATE_NOOP("ToolbarButtonAccessible", "Starts a new, empty icon")},
            {"Save",
             QT_TRANSLATE_NOOP("ToolbarButtonAccessible", "Opens a menu for saving the icon")},
            {"Paint", QT_TRANSLATE_NOOP("ToolbarButtonAccessible",
                                        "Tool that paints single cells in the painting colour")},
            {"Change", QT_TRANSLATE_NOOP("ToolbarButtonAccessible",
                                         "Tool that replaces the colour of the cell pressed, "
                                         "throughout the icon, with the painting colour")},
            {"Left",
             QT_TRANSLATE_NOOP("ToolbarButtonAccessible", "Moves the icon one pixel to the left")},
            {"Down", QT_TRANSLATE_NOOP("ToolbarButtonAccessible", "Moves the icon one pixel down")},
            {"Up", QT_TRANSLATE_NOOP("ToolbarButtonAccessible", "Moves the icon one pixel up")},
            {"Right",
             QT_TRANSLATE_NOOP("ToolbarButtonAccessible", "Moves the icon one pixel to the right")},
            {"flipHorizontal",
             QT_TRANSLATE_NOOP("ToolbarButtonAccessible", "Mirrors the icon from left to right")},
            {"FlipVert",
             QT_TRANSLATE_NOOP("ToolbarButtonAccessible", "Mirrors the icon from top to bottom")},
            {"Rotate", QT_TRANSLATE_NOOP("ToolbarButtonAccessible",
                                         "Turns the icon a quarter turn clockwise")},
            {"Clear", QT_TRANSLATE_NOOP("ToolbarButtonAccessible", "Clears the whole icon")},
            {"Exit", QT_TRANSLATE_NOOP("ToolbarButtonAccessible", "Closes the editor")},
            {"Extract", QT_TRANSLATE_NOOP("ToolbarButtonAccessible",
                                          "Takes the icon out of a program or library")},
        };
        for (const auto& [key, text] : kDescriptions) {
            if (button.Key == QLatin1String(key)) {
                return tr(text);
            }
        }
        return button.ToolTipText;
    }

    const ToolbarButton& button() const { return m_view->toolbar().Buttons(m_index); }

    QPointer<ToolbarView> m_view;
    int m_index;
};

// The toolbar, with one child per button in the toolbar's order, separators included.
class ToolbarAccessible : public QAccessibleWidget {
public:
    explicit ToolbarAccessible(ToolbarView* view) : QAccessibleWidget(view, QAccessible::ToolBar) {}
    ~ToolbarAccessible() override {
        for (const QAccessible::Id id : m_children) {
            if (id != 0) {
                QAccessible::deleteAccessibleInterface(id);
            }
        }
    }

    int childCount() const override { return view()->toolbar().count(); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount()) {
            return nullptr;
        }
        const auto slot = static_cast<std::size_t>(index);
        if (m_children.size() <= slot) {
            m_children.resize(slot + 1, 0);
        }
        if (m_children[slot] == 0) {
            m_children[slot] = QAccessible::registerAccessibleInterface(
                new ToolbarButtonAccessible(view(), index + 1));
        }
        return QAccessible::accessibleInterface(m_children[slot]);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (std::size_t i = 0; i < m_children.size(); ++i) {
            if (m_children[i] != 0 && QAccessible::accessibleInterface(m_children[i]) == child) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }
    QAccessibleInterface* focusChild() const override {
        return view()->hasFocus() ? child(view()->focusButton() - 1) : nullptr;
    }

private:
    ToolbarView* view() const { return static_cast<ToolbarView*>(widget()); }

    mutable std::vector<QAccessible::Id> m_children;
};

// A widget of ours with the role it was given; a clickable label can be pressed.
class RoleAccessible : public QAccessibleWidget {
public:
    RoleAccessible(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (qobject_cast<ClickableLabel*>(widget()) != nullptr) {
            names.prepend(pressAction());
        }
        return names;
    }
    void doAction(const QString& actionName) override {
        auto* label = qobject_cast<ClickableLabel*>(widget());
        if (label != nullptr && actionName == pressAction()) {
            label->click();
            return;
        }
        QAccessibleWidget::doAction(actionName);
    }
};

QAccessibleInterface* accessibleFactory(const QString& className, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    // Answer for the most derived class only, before Qt's own interfaces for its base classes.
    if (widget == nullptr || className != QLatin1String(object->metaObject()->className())) {
        return nullptr;
    }
    if (auto* toolbar = qobject_cast<ToolbarView*>(widget)) {
        return new ToolbarAccessible(toolbar);
    }
    const QVariant role = widget->property(kRoleProperty);
    if (role.isValid()) {
        return new RoleAccessible(widget, static_cast<QAccessible::Role>(role.toInt()));
    }
    return nullptr;
}

}  // namespace

void installAccessibleInterfaces() {
    static const bool installed = [] {
        QAccessible::installFactory(accessibleFactory);
        return true;
    }();
    (void)installed;
}

void setAccessibleRole(QWidget* widget, QAccessible::Role role) {
    widget->setProperty(kRoleProperty, static_cast<int>(role));
}

AccessibleColourNames::AccessibleColourNames(const ColourChoice& colours, const Swatches& swatches,
                                             QLabel* pallet, QLabel* pallet2) {
    for (std::size_t i = 0; i < swatches.size(); ++i) {
        m_displays[i] = {swatches[i], &colours.lblColor[i], Shows::Swatch, std::nullopt};
    }
    m_displays[swatches.size()] = {pallet, &colours.Pallet, Shows::CurrentColour, std::nullopt};
    m_displays[swatches.size() + 1] = {pallet2, &colours.Pallet2, Shows::PickedColour,
                                       std::nullopt};
}

void AccessibleColourNames::update() {
    for (Display& display : m_displays) {
        if (display.named != *display.colour) {
            name(display);
        }
    }
}

void AccessibleColourNames::name(Display& display) {
    const Colour colour = *display.colour;
    display.named = colour;
    switch (display.shows) {
        case Shows::Swatch:
            display.widget->setAccessibleName(ColourNames::name(colour));
            display.widget->setAccessibleDescription(
                tr("Colour swatch showing %1; Space or Enter makes it the painting colour")
                    .arg(ColourNames::shownName(colour)));
            break;
        case Shows::CurrentColour:
            display.widget->setAccessibleName(
                tr("Current colour: %1").arg(ColourNames::name(colour)));
            display.widget->setAccessibleDescription(tr("The colour of the swatch chosen last"));
            break;
        case Shows::PickedColour:
            display.widget->setAccessibleName(
                tr("Picked colour: %1").arg(ColourNames::name(colour)));
            display.widget->setAccessibleDescription(
                tr("The colour picked last from the colour spectrum"));
            break;
    }
    // Tell a listening screen reader; this Qt does not on its own.
    QAccessibleEvent renamed(display.widget, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&renamed);
}

}  // namespace mosaikon

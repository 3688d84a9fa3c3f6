// A shown main window for tests, and small helpers to read what its controls show.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "CommonDialog.h"
#include "ScriptedDialogHost.h"
#include "mainwindow/frmEditIcon.h"

namespace mosaikon::test {

// What the message box shown while `action` runs said; it is closed as soon as it shows.
struct ShownMessage {
    QString text;
    QString title;
    Qt::TextFormat format = Qt::AutoText;
};

inline ShownMessage messageDuring(const std::function<void()>& action) {
    ShownMessage shown;
    QTimer reader;
    QObject::connect(&reader, &QTimer::timeout, [&shown] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = {box->text(), box->windowTitle(), box->textFormat()};
            box->close();
        }
    });
    reader.start(10);
    action();
    return shown;
}

// Window tests answer their file dialogs from a script; one without a script cancels every
// dialog and remembers what it was asked.
using RecordingDialogHost = ScriptedDialogHost;

// The toolbar's commands that change the icon: the button's key, the key that runs the same
// command, and what the command does to a canvas, for comparing with the window's result.
struct IconCommandCase {
    const char* buttonKey;
    QKeyCombination shortcut;
    std::function<void(IconCanvas&)> apply;
};

inline const std::vector<IconCommandCase>& iconCommandCases() {
    static const std::vector<IconCommandCase> cases = {
        {"Up", Qt::CTRL | Qt::Key_Up, [](IconCanvas& c) { c.MoveIcon("up"); }},
        {"Down", Qt::CTRL | Qt::Key_Down, [](IconCanvas& c) { c.MoveIcon("down"); }},
        {"Left", Qt::CTRL | Qt::Key_Left, [](IconCanvas& c) { c.MoveIcon("left"); }},
        {"Right", Qt::CTRL | Qt::Key_Right, [](IconCanvas& c) { c.MoveIcon("right"); }},
        {"flipHorizontal", QKeyCombination(Qt::Key_H), [](IconCanvas& c) { c.FlipHorizontal(); }},
        {"FlipVert", QKeyCombination(Qt::Key_V), [](IconCanvas& c) { c.FlipVertical(); }},
        {"Rotate", QKeyCombination(Qt::Key_R), [](IconCanvas& c) { c.Rotat_Icon(); }},
        {"Clear", QKeyCombination(Qt::Key_Delete), [](IconCanvas& c) { c.ClearIcon(); }},
        {"New", Qt::CTRL | Qt::Key_N, [](IconCanvas& c) { c.New_Icon(); }},
    };
    return cases;
}

// Counts the toolbar's two events while it lives.
class ToolbarEventCount {
public:
    explicit ToolbarEventCount(Toolbar& bar)
        : m_clicks(QObject::connect(&bar, &Toolbar::ButtonClick, [this] { ++count; })),
          m_choices(QObject::connect(&bar, &Toolbar::ButtonMenuClick, [this] { ++count; })) {}
    ~ToolbarEventCount() {
        QObject::disconnect(m_clicks);
        QObject::disconnect(m_choices);
    }
    ToolbarEventCount(const ToolbarEventCount&) = delete;
    ToolbarEventCount& operator=(const ToolbarEventCount&) = delete;
    int count = 0;

private:
    QMetaObject::Connection m_clicks;
    QMetaObject::Connection m_choices;
};

inline QColor rgbColour(std::uint32_t bgr) {
    return {static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
            static_cast<int>((bgr >> 16) & 0xFF)};
}

inline QColor shownBackground(const QWidget* widget) {
    return widget->palette().color(QPalette::Window);
}

class ShownWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.setDialogHost(dialogs);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    template <typename T = QWidget>
    T* control(const char* name) {
        T* found = window.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    // Runs `action`; any modal box it opens is closed and counted instead of blocking the test.
    int modalBoxesDuring(const std::function<void()>& action) {
        int boxes = 0;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&boxes] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ++boxes;
                modal->close();
            }
        });
        closer.start(10);
        action();
        QTest::qWait(30);
        return boxes;
    }

    RecordingDialogHost dialogs;
    frmEditIcon window;
};

}  // namespace mosaikon::test

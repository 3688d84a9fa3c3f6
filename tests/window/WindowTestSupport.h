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

// Answers every file dialog with "cancelled" and remembers what it was asked.
class RecordingDialogHost final : public DialogHost {
public:
    std::string run(const DialogRequest& request) override {
        requests.push_back(request);
        return {};
    }
    std::vector<DialogRequest> requests;
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

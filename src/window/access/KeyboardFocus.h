#pragma once

#include <QRect>

class QKeyEvent;
class QPainter;
class QWidget;

namespace mosaikon {

// Focus marks appear only once the person has worked the window with the keyboard, so a window
// used with the mouse looks exactly as designed. The window remembers that through Qt's own
// WA_KeyboardFocusChange flag, which Qt's styles read for the same purpose.

// Whether `widget` holds the keyboard focus and its window has seen the keyboard in use.
bool showsFocusMark(const QWidget* widget);
// Records that the keyboard is in use in `widget`'s window and has the widget repainted.
void noteKeyboardUse(QWidget* widget);
// The keys that press a focused button: Space, Enter and Return, not repeated.
bool isPressKey(const QKeyEvent& event);
// Has the keyboard counted as in use whenever `widget` receives the focus by Tab or Shift+Tab.
void watchTabFocus(QWidget* widget);
// A dotted rectangle that shows on any colour: black dots on a white line.
void drawFocusMark(QPainter& painter, const QRect& rect);

}  // namespace mosaikon

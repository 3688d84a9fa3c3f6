#pragma once

class QWidget;

namespace mosaikon {

enum class Beside { Left, Right };

// Puts the small window `side` beside `main` rather than over its grid: on the `preferred` side
// when the screen has room there, else on the other, else where the desktop puts it. Called
// once, when `side` is first shown, so that a window the person moved stays where they put it.
void placeBeside(QWidget& side, const QWidget& main, Beside preferred);

}  // namespace mosaikon

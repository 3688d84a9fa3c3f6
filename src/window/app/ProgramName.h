#pragma once

namespace mosaikon {

// Gives the application object the program's name. The window's title and every message box
// caption read it from there (QGuiApplication::applicationDisplayName), so the name is written
// in this one place. Call it once the application object exists.
void nameProgram();

}  // namespace mosaikon

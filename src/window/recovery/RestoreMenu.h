#pragma once

class QMenu;
class QWidget;

namespace mosaikon {

class frmEditIcon;

// The submenu of the copies left behind by editors that no longer run: up to five, newest
// first, each with the time it was written and the icon it holds; choosing one restores it.
// It is filled each time it opens, so it always shows the folder as it is.
QMenu* makeOlderCopiesMenu(frmEditIcon& window, QWidget* parent);

}  // namespace mosaikon

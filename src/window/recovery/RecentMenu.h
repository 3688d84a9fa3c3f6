#pragma once

class QMenu;
class QWidget;

namespace mosaikon {

class frmEditIcon;

// The submenu of the files opened or saved last, newest first: choosing one opens it as the
// command line opens a file; one that has gone is marked so and, when chosen, offers to leave
// the list; "Clear recent files" empties it. It is filled each time it opens, so it shows what
// every editor of this user has added since.
QMenu* makeRecentFilesMenu(frmEditIcon& window, QWidget* parent);

}  // namespace mosaikon

#pragma once

#include <functional>
#include <span>
#include <string>

#include "CommonDialog.h"
#include "ExportFiles.h"
#include "IconCanvas.h"
#include "OpenKinds.h"
#include "Picture.h"

namespace mosaikon {

// The editor's file commands: opening icons and bitmaps, saving them, and taking the icon out
// of a program file. They work on the canvas through its surfaces and share one file dialog.
//
// Each dialog command is two steps: its dialog, then a function that takes the chosen path and
// does everything else the command does, the status line included. Whatever already has a path
// (the command line, a drop, mosaikon-cli) calls the second step directly.
class FileCommands {
public:
    FileCommands(IconCanvas& canvas, CommonDialog& dialog) : m_canvas(canvas), m_dialog(dialog) {}

    void OpenIcon();
    void Open_BMP();
    void SaveIcon();
    // Writes the icon again, exactly as Save As Icon writes it, to the file this editor last
    // wrote with Save As Icon or Save again, without a dialog. Before any such save (a file
    // only opened may hold other sizes that a save would drop) it is Save As Icon.
    void SaveAgain();
    // The file SaveAgain writes; empty before the first icon save.
    const std::string& lastSavedIcon() const { return m_lastSavedIcon; }
    void save_BMP();
    // Export the icon as Save Icon would write it (pure white transparent): as a PNG, or as one
    // icon file of several sizes. Each asks for its file apart from the shared dialog, whose
    // properties stay as the other commands left them; the canvas and its state are not changed.
    void ExportPng();
    void ExportIconSizes();
    // Chooses a program file or library and takes its icon into the editor.
    void ExtractIcon();
    void GetAppIcon(std::string ProgramPath);

    // The commands' steps after their dialogs, given the chosen path.
    void openIconFile(const std::string& path);
    void openBitmapFile(const std::string& path);
    void saveIconFile(const std::string& path);
    void saveViewAsBitmapFile(const std::string& path);
    void exportPngFile(const std::string& path);
    void exportIconSizesFile(const std::string& path,
                             std::span<const int> sides = kExportedIconSides);
    void extractIconFrom(const std::string& path);

    // Opens `path` with `command` as if the person had chosen it in that command's dialog: the
    // shared dialog's properties are left as that choice leaves them, so a later command that
    // keeps some of them behaves as after the dialog.
    void openAsChosen(OpenCommand command, const std::string& path);

    // Told of each icon, bitmap or program file a command has opened or saved, once it has
    // worked (the recent files); exports of other kinds and failures are not told.
    void setFileUsedHandler(std::function<void(const std::string& path)> handler) {
        m_fileUsed = std::move(handler);
    }

    // The status line's text, written by the open commands.
    const std::string& statusLine() const { return m_statusLine; }
    // The picture the bitmap command loaded last (the hidden image holder).
    const Picture& Image1() const { return m_image1; }
    // How many images the icon converter holds (one more per icon save).
    int iconListCount() const { return m_iconListCount; }

private:
    static constexpr const char* kProgramFilter = "Executable (*.exe)|*.exe|DLL(*.dll)|*.dll";

    // Writes the status line for `path`: " <path>... <length> byte".
    void writeStatusLine(const std::string& path);
    void tellFileUsed(const std::string& path) const {
        if (m_fileUsed) {
            m_fileUsed(path);
        }
    }

    IconCanvas& m_canvas;
    CommonDialog& m_dialog;
    std::string m_statusLine;
    std::string m_lastSavedIcon;
    Picture m_image1;
    int m_iconListCount = 0;
    std::function<void(const std::string& path)> m_fileUsed;
};

}  // namespace mosaikon

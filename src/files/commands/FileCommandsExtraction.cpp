// The extraction command: a program file or library chosen in the file dialog gives its icon
// to the editor.
#include <algorithm>
#include <vector>

#include "FileCommands.h"
#include "ProgramIcons.h"

namespace mosaikon {

void FileCommands::ExtractIcon() {
    const std::string path = chooseProgramFile();
    if (!path.empty()) {
        extractIconFrom(path);
    }
}

std::string FileCommands::chooseProgramFile() {
    // CancelError and Flags stay as the previous file command left them.
    m_dialog.FileName = "";
    m_dialog.Filter = kProgramFilter;
    m_dialog.ShowOpen();
    return m_dialog.FileName;
}

void FileCommands::extractIconGroupFrom(const std::string& path, std::int32_t group) {
    drawProgramIcon(path, group);
    m_canvas.DrawGrid();
    tellFileUsed(path);
}

void FileCommands::extractIconFrom(const std::string& path) {
    GetAppIcon(path);
    m_canvas.DrawGrid();
    tellFileUsed(path);
}

void FileCommands::GetAppIcon(std::string ProgramPath) { drawProgramIcon(ProgramPath, 1); }

void FileCommands::drawProgramIcon(const std::string& ProgramPath, std::int32_t iconIndex) {
    m_canvas.LargePicture.setPicture(Picture{});
    // The desktop's extractor may write a path of up to kMaxPath characters back into this
    // buffer, so it is at least that long; ours never writes to it, and nothing reads it
    // afterwards. A longer path gets a buffer that holds it whole rather than being cut to a
    // different file's name.
    std::vector<char> pathBuffer(std::max(kMaxPath, ProgramPath.size() + 1), '\0');
    std::copy(ProgramPath.begin(), ProgramPath.end(), pathBuffer.begin());

    IconHandle icon = ExtractAssociatedIconA(ModuleInstance::program(), pathBuffer, &iconIndex);
    DrawIconEx(m_canvas.LargePicture, 0, 0, icon, IconCanvas::kViewOuterEdge,
               IconCanvas::kViewOuterEdge, 0, std::nullopt, iconflags::kNormal);
    // Drawn over the cleared view's white, so the icon's opacity is what the read-back shows.
    m_canvas.opacity.takeThroughView(icon.picture());
    DestroyIcon(icon);
    m_canvas.readBackIcon();
}

}  // namespace mosaikon

// The extraction command: a program file or library chosen in the file dialog gives its icon
// to the editor.
#include <algorithm>
#include <vector>

#include "FileCommands.h"
#include "ProgramIcons.h"

namespace mosaikon {

void FileCommands::ExtractIcon() {
    // CancelError and Flags stay as the previous file command left them.
    m_dialog.FileName = "";
    m_dialog.Filter = "Executable (*.exe)|*.exe|DLL(*.dll)|*.dll";
    m_dialog.ShowOpen();
    if (m_dialog.FileName.empty()) {
        return;
    }
    GetAppIcon(m_dialog.FileName);
    m_canvas.DrawGrid();
}

void FileCommands::GetAppIcon(std::string ProgramPath) {
    m_canvas.LargePicture.setPicture(Picture{});
    std::int32_t iconIndex = 1;
    // The extractor may write a path of up to kMaxPath characters back; a longer path of ours
    // gets a buffer that holds it whole rather than being cut to a different file's name.
    std::vector<char> pathBuffer(std::max(kMaxPath, ProgramPath.size() + 1), '\0');
    std::copy(ProgramPath.begin(), ProgramPath.end(), pathBuffer.begin());

    IconHandle icon = ExtractAssociatedIconA(ModuleInstance::program(), pathBuffer, &iconIndex);
    DrawIconEx(m_canvas.LargePicture, 0, 0, icon, IconCanvas::kViewOuterEdge,
               IconCanvas::kViewOuterEdge, 0, std::nullopt, iconflags::kNormal);
    DestroyIcon(icon);
    m_canvas.readBackIcon();
}

}  // namespace mosaikon

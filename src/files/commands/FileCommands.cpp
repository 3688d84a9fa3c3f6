// The open and save commands: icons and bitmaps between the files and the two surfaces.
#include "FileCommands.h"

#include "ExportFiles.h"
#include "FileBytes.h"
#include "IconConversion.h"
#include "ImageChoices.h"
#include "PictureFiles.h"

namespace mosaikon {

namespace {

constexpr const char* kIconFilter = "Icons (*.ico)|*.ico";
constexpr const char* kOpenBitmapFilter = "Bitmap(*.bmp)|*.bmp";
constexpr const char* kSaveBitmapFilter = "Bitmaps (*.bmp)|*.bmp";
constexpr const char* kPngFilter = "PNG images (*.png)|*.png";
constexpr const char* kIconSizesFilter = "Icons of several sizes (*.ico)|*.ico";

// Sets the dialog's properties the way every open and save command does, in this order.
void prepareDialog(CommonDialog& dialog, std::int32_t flags, const char* filter) {
    dialog.CancelError = false;
    dialog.FileName = "";
    dialog.Flags = flags;
    dialog.Filter = filter;
}

// Prepares the dialog, shows it, and returns the chosen name: empty when none was chosen, and
// the command then stops.
std::string chooseFile(CommonDialog& dialog, std::int32_t flags, const char* filter,
                       DialogRequest::Mode mode) {
    prepareDialog(dialog, flags, filter);
    if (mode == DialogRequest::Mode::Open) {
        dialog.ShowOpen();
    } else {
        dialog.ShowSave();
        // The save commands leave the first filter entry selected for the next dialog.
        dialog.FilterIndex = 1;
    }
    return dialog.FileName;
}

constexpr std::int32_t kOpenFlags = dialogflags::kFileMustExist;
constexpr std::int32_t kSaveFlags = dialogflags::kOverwritePrompt | dialogflags::kNoReadOnlyReturn;

}  // namespace

void FileCommands::writeStatusLine(const std::string& path) {
    // The whole 64-bit length: a file of 2 GiB or more is not shown with a wrapped count.
    m_statusLine = " " + path + "... " + std::to_string(fileLength(path)) + " byte";
}

void FileCommands::OpenIcon() {
    const std::string path = chooseIconFile();
    if (!path.empty()) {
        openIconFile(path);
    }
}

std::string FileCommands::chooseIconFile() {
    return chooseFile(m_dialog, kOpenFlags, kIconFilter, DialogRequest::Mode::Open);
}

void FileCommands::openIconImage(const std::string& path, std::size_t index) {
    writeStatusLine(path);
    FileBytes file(path);
    const Picture picture = readIconFileImage(file, index);
    if (picture.width() <= IconCanvas::kIconEdge && picture.height() <= IconCanvas::kIconEdge) {
        m_canvas.takePicture(picture);
    } else {
        // Over white, as an icon's transparent parts show on the icon surface.
        m_canvas.LargePicture.setPicture(Picture{});
        m_canvas.LargePicture.PaintPicture(picture, 0, 0, IconCanvas::kViewOuterEdge,
                                           IconCanvas::kViewOuterEdge);
        m_canvas.opacity.takeThroughView(picture);
        m_canvas.readBackIcon();
        m_canvas.DrawGrid();
    }
    tellFileUsed(path);
}

void FileCommands::openIconFile(const std::string& path) {
    writeStatusLine(path);
    // Loaded whole before either surface changes, so a bad file leaves both as they were.
    const Picture picture = LoadPicture(path);
    // The plane takes the file's colours and opacity; the view is drawn from the icon surface,
    // then the grid.
    m_canvas.takePicture(picture);
    tellFileUsed(path);
}

void FileCommands::Open_BMP() {
    const std::string path =
        chooseFile(m_dialog, kOpenFlags, kOpenBitmapFilter, DialogRequest::Mode::Open);
    if (!path.empty()) {
        openBitmapFile(path);
    }
}

void FileCommands::openBitmapFile(const std::string& path) {
    writeStatusLine(path);
    const Picture picture = LoadPicture(path);
    // The bitmap covers the whole view, whatever its shape; the icon is then read back from it.
    // A large bitmap's pixels are all read before the view changes: if they cannot be, both
    // surfaces and the image holder stay as they were. Afterwards the picture needs no file.
    m_canvas.LargePicture.PaintPicture(picture, 0, 0, IconCanvas::kViewOuterEdge,
                                       IconCanvas::kViewOuterEdge);
    m_image1 = picture;
    m_canvas.opacity.takeThroughView(picture);
    m_canvas.readBackIcon();
    m_canvas.DrawGrid();
    tellFileUsed(path);
}

void FileCommands::SaveIcon() {
    const std::string path =
        chooseFile(m_dialog, kSaveFlags, kIconFilter, DialogRequest::Mode::Save);
    if (!path.empty()) {
        saveIconFile(path);
        m_lastSavedIcon = path;
    }
}

void FileCommands::SaveAgain() {
    if (m_lastSavedIcon.empty()) {
        return SaveIcon();
    }
    saveIconFile(m_lastSavedIcon);
}

void FileCommands::saveIconFile(const std::string& path) {
    m_canvas.state.Snapshot = m_canvas.SmallPicture.Image();
    // The converter keeps no images of its own; it only counts them, one per icon save.
    ++m_iconListCount;
    SavePicture(iconWithWhiteTransparent(m_canvas.state.Snapshot), path);
    tellFileUsed(path);
}

void FileCommands::save_BMP() {
    const std::string path =
        chooseFile(m_dialog, kSaveFlags, kSaveBitmapFilter, DialogRequest::Mode::Save);
    if (!path.empty()) {
        saveViewAsBitmapFile(path);
    }
}

void FileCommands::saveViewAsBitmapFile(const std::string& path) {
    m_canvas.state.Snapshot = m_canvas.LargePicture.Image();
    SavePicture(m_canvas.state.Snapshot, path);
    tellFileUsed(path);
}

void FileCommands::openAsChosen(OpenCommand command, const std::string& path) {
    switch (command) {
        case OpenCommand::OpenIcon:
            prepareDialog(m_dialog, kOpenFlags, kIconFilter);
            m_dialog.FileName = path;
            return openIconFile(path);
        case OpenCommand::OpenBitmap:
            prepareDialog(m_dialog, kOpenFlags, kOpenBitmapFilter);
            m_dialog.FileName = path;
            return openBitmapFile(path);
        case OpenCommand::ExtractIcon:
            // The extraction's dialog step sets only these two.
            m_dialog.FileName = path;
            m_dialog.Filter = kProgramFilter;
            return extractIconFrom(path);
    }
}

namespace {

// The save dialog of an export, asked apart from the shared dialog's properties.
std::string askExportTarget(CommonDialog& dialog, const char* filter) {
    DialogRequest request;
    request.mode = DialogRequest::Mode::Save;
    request.filter = filter;
    request.flags = kSaveFlags;
    return dialog.askApart(request);
}

}  // namespace

void FileCommands::ExportPng() {
    const std::string path = askExportTarget(m_dialog, kPngFilter);
    if (!path.empty()) {
        exportPngFile(path);
    }
}

void FileCommands::exportPngFile(const std::string& path) {
    // The exports write the icon's own colours and opacity, the saved icon the classic rule.
    mosaikon::ExportPng(m_canvas.opacity.picture(), path);
}

void FileCommands::ExportIconSizes() {
    const std::string path = askExportTarget(m_dialog, kIconSizesFilter);
    if (!path.empty()) {
        exportIconSizesFile(path);
    }
}

void FileCommands::exportIconSizesFile(const std::string& path, std::span<const int> sides) {
    mosaikon::ExportIconSizes(m_canvas.opacity.picture(), path, sides);
    tellFileUsed(path);
}

}  // namespace mosaikon

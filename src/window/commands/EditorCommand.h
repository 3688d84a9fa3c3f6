#pragma once

namespace mosaikon {

// Every command of the editor by what it does: the toolbar's two events choose one by key or
// by position, the keys and the command menu through the command table.
enum class EditorCommand {
    Undo,
    Redo,
    OpenIcon,
    OpenBitmap,
    SaveIcon,
    SaveViewAsBitmap,
    ExportPng,
    ExportIconSizes,
    ExtractIcon,
    PaintTool,
    ChangeTool,
    MoveLeft,
    MoveRight,
    MoveUp,
    MoveDown,
    FlipLeftRight,
    FlipTopBottom,
    Rotate,
    Clear,
    New,
    PickColour,
    MoreColours,
    Copy,
    Paste,
    KeyboardShortcuts,
    Exit,
    // The tools after Paint and Change, mirrored drawing and the tools window.
    LineTool,
    RectangleTool,
    FilledRectangleTool,
    EllipseTool,
    FilledEllipseTool,
    FillTool,
    EraserTool,
    SelectTool,
    MirrorDrawing,
    ToolsWindow,
    // What a held selection adds; its other keys (Delete, H, V, Ctrl+C) are those above.
    SelectAll,
    CutSelection,
    // The icon kept on disk, as another editor left it.
    SaveAgain,
    RestorePrevious,
    RestoreOlder,
    // The icon with its own opacity on several backgrounds.
    PreviewWindow,
    // The files opened or saved last.
    OpenRecent,
    // Open Icon and Extract Icon, choosing the image or the icon group.
    OpenIconChoosing,
    ExtractChoosing,
};

}  // namespace mosaikon

#pragma once

#include <QKeySequence>
#include <vector>

#include "Tools.h"
#include "commands/EditorCommand.h"

namespace mosaikon {

class EditCommands;

// How a command is run, and what of it the history records.
enum class CommandGuard {
    Step,     // through the window's guard, as an undo step of its own
    Handler,  // through the window's guard, recording nothing of its own (it changes no icon)
    Direct,   // as it is: it opens a window or waits for a press, and guards what it runs later
};

// One command of the editor: the keys and the command menu are built from these, and
// EditCommands::trigger runs `run` as `guard` says.
struct CommandEntry {
    EditorCommand id;
    const char* text;  // the menu's text, untranslated
    std::vector<QKeySequence> keys;
    CommandGuard guard;
    void (*run)(EditCommands& commands, EditorCommand id);
    bool separatorBefore = false;
    const char* sectionBefore = nullptr;  // a titled section of the menu starts here
};

// Every command in menu order.
const std::vector<CommandEntry>& commandTable();
// The entry of `id`; every command has one.
const CommandEntry& commandEntry(EditorCommand id);
// The drawing tool a tool command selects; None for every other command.
Tool toolOfCommand(EditorCommand id);
// Whether `id` leaves a held selection floating; every other command puts it down first.
bool keepsSelection(EditorCommand id);

}  // namespace mosaikon

#pragma once

#include <memory>

namespace mosaikon {

struct SelectionState;

// The selection as it stood at one moment, shared and never changed once made: the edit
// history keeps one with each step and hands it back on undo and redo, without looking inside.
// Null: no selection.
using SelectionRecord = std::shared_ptr<const SelectionState>;

}  // namespace mosaikon

#pragma once

// The scripted dialog host now lives with the other test helpers; this name stays until the
// window tests include it from there.
#include "../support/ScriptedDialogHost.h"

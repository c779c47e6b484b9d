#pragma once

// What the main view keeps of the macro library between calls: the selected folder path and the
// state of batch transfers. Nothing of it is saved across runs.

#include "macro/macro_files.h"
#include "macro/macro_transfer.h"

struct MacroLibrary {
    MacroSelection selection;
    MacroBatch batch;
};

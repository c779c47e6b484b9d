#pragma once

// The start-up check's message box: the broken settings files are named before anything opens
// them.

class Dialogs;

// Names the broken files in the debug output and in a message box, offers to restore the factory
// copies and restores them when the user agrees. False when the program must not start.
bool checkSettingsFiles(Dialogs &dialogs);

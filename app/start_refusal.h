#pragma once

// A second start wakes the running program and ends. Where nothing answers the wake-up, it says
// why it ends instead of going silently: on standard error and, where the desktop has a
// notification service, in a notification; in the language the user chose in the program.

#include <QString>

// Why the second start ends; the index of its text in the language group "start".
enum class StartRefusal {
    ToolHoldsMouse = 0, // tk700ctl works on the mouse and holds the program's lock
    NoAnswer = 1,       // a running program did not take the wake-up message
};

// The text of `why` in the stored language, read from the data folder without writing there.
QString startRefusalText(StartRefusal why);
// Prints the text and shows it as a desktop notification where one can be shown.
void tellStartRefused(StartRefusal why);

#pragma once

// tk700ctl's commands carried out by the running program over its D-Bus service: the program
// holds the mouse, so it sends, and its window shows what was done. The answers read as those of
// the direct path; a named error of the service becomes the direct path's exit status.

#include "answer.h"

#include <optional>

// The command's answer from the running program, or nothing when its service is not on the
// session bus. `command` is the whole command line after the options.
std::optional<Answer> throughProgram(const QStringList &command);

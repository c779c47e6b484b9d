#pragma once

// Names typed by the user become file and folder names of the macro library. A name is usable
// only when it stays one entry inside the folder it is meant for.

#include <QString>

enum class NameProblem {
    None,
    Empty,       // nothing to name the entry with
    Nul,         // the system cuts a path at a NUL
    Absolute,    // starts at a root: "/x", "\x" (or a drive on Windows)
    Separator,   // "a/b" or "a\b" would reach into another folder
    DotName,     // "." and ".." are the folder itself and its parent; Windows drops trailing dots,
                 // so "..." is no name there either
    Unprintable, // control characters (a line break splits a listing line) and the marks that
                 // turn a name's direction, which make it show as another ("x<RLO>cm.exe")
    TooLong,     // longer than the library's file system takes (NAME_MAX, mostly 255 bytes)
};

// `suffix` is what the library appends on disk (".bin", ".mc"), counted in the length limit.
NameProblem nameProblem(const QString &name, const QString &suffix = QString());
inline bool isUsableName(const QString &name, const QString &suffix = QString())
{
    return nameProblem(name, suffix) == NameProblem::None;
}

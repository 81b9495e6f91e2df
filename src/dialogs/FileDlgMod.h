#pragma once
// Companion of FileDlg: the folder the folder dialog starts at, and the two string routines
// FileDlg reads dialog results with.

#include <QString>

namespace sorvel::FileDlgMod {

// Folder the folder dialog starts at when not empty. ShowDir writes it from its startFolder at
// every call; it keeps its value between calls.
extern QString folderDialogStart;

// The part of s before its first NUL character; s whole when it holds none. Never fails.
QString TrimNull(const QString& s);

// s with a path separator appended unless it already ends in one ("" gives "/"). The
// separator is '/', the one of this platform and of every path Qt returns.
QString withTrailingSlash(const QString& s);

} // namespace sorvel::FileDlgMod

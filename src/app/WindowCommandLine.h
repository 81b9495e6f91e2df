#pragma once
// The window's own command line: --help and --version answer on standard output without
// opening a window (the manual page is made from them); every other argument is Qt's.

#include <QString>
#include <QStringList>

#include <optional>

namespace sorvel {

// The text to print and exit with for --help / -h or --version / -v anywhere among arguments
// (the program's name first); nothing when the window is to start.
std::optional<QString> commandLineAnswer(const QStringList& arguments);

} // namespace sorvel

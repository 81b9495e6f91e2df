#pragma once
// The text to render, from the argument, a file or standard input, with every line break as
// CR LF. Text from a file or standard input is UTF-8 (a byte order mark is skipped); one line
// end at its very end only ends the file's last line and is not part of the text.

#include "command/CommandLine.h"

#include <QString>

namespace sorvel::render_command {

// Raises CommandError (Failed) when the file cannot be read or the bytes are not UTF-8.
QString readRenderText(const RenderRequest& request);

// The text of a file's bytes as described above; no value when they are not UTF-8.
std::optional<QString> textOfFileBytes(const QByteArray& bytes);

} // namespace sorvel::render_command

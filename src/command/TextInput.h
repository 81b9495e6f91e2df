#pragma once
// The text to render, from the argument, a file or standard input, with every line break as
// CR LF. Text from a file or standard input is UTF-8 (a byte order mark is skipped); one line
// end at its very end only ends the file's last line and is not part of the text. Text read
// from a file or standard input stops at maxTextBytes: past it the read fails, having held no
// more than that in memory, so an endless source (/dev/zero, `yes`) ends at once.

#include "command/CommandLine.h"

#include <QIODevice>
#include <QString>

namespace sorvel::render_command {

// The most bytes of text a picture is drawn from: 16 MiB. A canvas of the largest side, 32767
// pixels square, holds about 16 million characters of a barely legible 6 x 11 pixels, so a
// legible picture shows no more; and as UTF-16 the text takes 32 MiB at most.
constexpr qint64 maxTextBytes = 16LL * 1024 * 1024;

// Raises CommandError (Failed) when the file cannot be read, is longer than maxTextBytes or
// the bytes are not UTF-8.
QString readRenderText(const RenderRequest& request);

// Every byte of device up to its end. Raises CommandError (Failed) "NAME: the text is longer
// than LIMIT bytes" once more than limit bytes came, or when the device cannot be read.
QByteArray readTextBytes(QIODevice& device, const QString& name, qint64 limit = maxTextBytes);

// The text of a file's bytes as described above; no value when they are not UTF-8.
std::optional<QString> textOfFileBytes(const QByteArray& bytes);

} // namespace sorvel::render_command

#pragma once
// Test helpers for the real X11 clipboard: read it as another program does, with xclip.

#include <QByteArray>
#include <QImage>
#include <QStringList>

namespace sorvel::test {

// How long a test waits for xclip or the keeper.
constexpr int toolTimeoutMs = 10000;

// Runs xclip to its end while this process keeps its event loop going, so that it can answer
// xclip's requests for the data it owns. Returns standard output, or a null array on failure.
QByteArray xclip(const QStringList& arguments);

// The clipboard's image in the given MIME type, as another program pastes it (RGB32).
QImage pasted(const char* mimeType);

// Whether the process has ended; a zombie counts as ended.
bool processEnded(qint64 pid);

} // namespace sorvel::test

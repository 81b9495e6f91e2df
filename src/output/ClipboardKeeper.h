#pragma once
// Keeping the copied image on the clipboard after the program ends. On X11 the clipboard is
// served by the program that owns it, so its content dies with that program unless someone
// takes it over. Before the window closes, the image is handed to sorvel-clipboard-keeper, a
// small program without a window that takes the clipboard, serves the image until another
// program takes the clipboard, and then ends.

#include "image/ImageWriteResult.h"

#include <QString>

class QImage;
class QIODevice;

namespace sorvel {

inline const QString clipboardKeeperName = QStringLiteral("sorvel-clipboard-keeper");

struct HandOverResult {
    enum class Status {
        Started,       // the keeper runs and will take the clipboard
        NotNeeded,     // the platform keeps clipboard content by itself (not X11)
        NoImage,       // nothing to keep
        KeeperMissing, // the keeper program is not where it was looked for
        Failed,        // the image could not be passed on, or the keeper could not start
    };

    Status status = Status::Failed;
    qint64 keeperPid = 0; // only for Started
    QString detail;       // what failed, for the log

    bool started() const { return status == Status::Started; }
};

// The installed keeper, found from the running program's folder through the relative path
// between the installed bin/ and libexec/sorvel/; else the one next to the program (the build folder).
QString clipboardKeeperPath();

// The PNG the keeper reads, streamed into file by the program's own PNG encoders, which store a
// text picture compressed (one byte a pixel where it is grey or has few colours), so that the
// keeper holds a small file beside the image it decodes. Qt's writer at its fastest stored every
// pixel uncompressed: at the canvas limit 403 MB, in the temporary folder and in the keeper's
// memory.
WriteResult writeClipboardKeeperInput(const QImage& image, QIODevice& file) noexcept;

// Starts the keeper detached with image and returns without waiting for it. Call it while the
// program still owns the clipboard (QClipboard::ownsClipboard()) and is about to end.
HandOverResult handOverClipboard(const QImage& image);
// The same with an explicit keeper program.
HandOverResult handOverClipboard(const QImage& image, const QString& keeperProgram);

} // namespace sorvel

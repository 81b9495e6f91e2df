#pragma once
// Puts bytes into a file so that its name always leads to either the old file or the
// complete new one, whatever happens to the process meanwhile (an error, a full disk, a kill):
// the bytes go into a file without a name in the target's folder, which takes the target's
// place in one rename. An existing file's permissions carry over; a symbolic link keeps leading
// to the file, which is the one replaced.
//
// Every file the program writes goes through here: the window's save, which waits until the
// data is on the disk, and sorvel-render, which does not, as command-line tools do not: a
// program that writes thousands of pictures should not wait for each one.
//
// An encoder streams its bytes straight into the new file (replaceFileWithStream), so that a
// large picture is never held encoded in memory as a whole.

#include "image/ImageWriteResult.h"

#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;

namespace sorvel {

enum class Durability {
    WhenClosed, // the file is complete when the call returns; the system writes it out later
    OnDisk,     // the data and the new name are on the disk when the call returns
};

// Writes the new file's contents into sink, sequentially; a failure it returns leaves the old
// file (or none). A write into sink that fails (a full disk) makes every later one fail, and the
// result then gives the system's reason whatever the writer returned.
using FileContentsWriter = std::function<WriteResult(QIODevice& sink)>;

// Replaces path with what write puts into its sink: the old file stays until that is complete
// (and, with OnDisk, on the disk). Nothing written on failure, whatever the step.
WriteResult replaceFileWithStream(const QString& path, Durability durability, const FileContentsWriter& write) noexcept;

// The same with finished bytes.
WriteResult replaceFileWith(const QByteArray& bytes, const QString& path,
                            Durability durability = Durability::WhenClosed) noexcept;

} // namespace sorvel

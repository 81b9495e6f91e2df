#pragma once
// Puts finished bytes into a file so that its name always leads to either the old file or the
// complete new one, whatever happens to the process meanwhile (an error, a full disk, a kill):
// the bytes go into a file without a name in the target's folder, which takes the target's
// place in one rename. An existing file's permissions carry over; a symbolic link keeps leading
// to the file, which is the one replaced.
//
// Unlike QSaveFile it does not wait for the data to reach the disk, as command-line tools
// do not: a program that writes thousands of pictures should not wait for each one. The
// window's save waits (it writes through QSaveFile).

#include "platform/ImageWriteResult.h"

#include <QByteArray>
#include <QString>

namespace sorvel {

WriteResult replaceFileWith(const QByteArray& bytes, const QString& path) noexcept;

} // namespace sorvel

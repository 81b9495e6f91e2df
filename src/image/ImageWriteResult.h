#pragma once
// What an image writer reports: success, or what went wrong and the system's own words for it.

#include <QString>

namespace sorvel {

enum class WriteError {
    None,
    InvalidSize,   // width or height is 0, negative or larger than the image, or no image at all
    InvalidPath,   // empty path
    IsFolder,      // the path names an existing folder
    CannotCreate,  // the folder cannot take a new file (missing, not a folder, not writable)
    WriteFailed,   // encoding or writing the data failed (disk full, file size limit, I/O error)
    CannotReplace, // the finished file could not take the place of the old one
};

struct WriteResult {
    WriteError error = WriteError::None;
    QString systemMessage; // the system's or the encoder's error text; empty on success

    bool ok() const { return error == WriteError::None; }

    static WriteResult success() { return {}; }
    static WriteResult failure(WriteError error, const QString& systemMessage) { return {error, systemMessage}; }
};

} // namespace sorvel

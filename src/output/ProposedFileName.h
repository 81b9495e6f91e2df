#pragma once
// The file name the save dialog proposes: the text being rendered, made into a name the file
// system accepts.

#include <QString>

namespace sorvel {

constexpr qsizetype maxProposedNameLength = 256; // the file dialog's name buffer, in characters
constexpr qsizetype maxFileNameBytes = 255;      // NAME_MAX, in UTF-8 bytes

// text without line breaks, "/", NUL and other control characters (and without unpaired
// surrogates, which no file system name can encode), cut after the last whole character
// (a character with its combining marks, a surrogate pair) that keeps it within
// maxProposedNameLength UTF-16 units and maxFileNameBytes UTF-8 bytes. "." and "..", names
// of blanks only and an empty text give an empty proposal.
QString proposedFileName(const QString& text);

} // namespace sorvel

#pragma once
// Why a file could not be written, in the words of the window (Japanese, for its message box)
// and of sorvel-render (English, for one line on standard error), from one table.

#include "image/ImageWriteResult.h"

#include <QString>

namespace sorvel {

enum class FailureReader {
    Window,  // Japanese; the system's own words on a line of their own, in brackets
    Command, // English; the system's own words on the same line, in brackets
};

// Empty for a success.
QString writeFailureText(const WriteResult& result, FailureReader reader);

} // namespace sorvel

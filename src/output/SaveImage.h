#pragma once
// Saving the canvas image to the path the user chose: the format follows the path's ending,
// a JPEG asks for its quality first, and the file is written whole or not at all.

#include "image/ImageFormatTable.h"

#include <QImage>
#include <QString>

#include <functional>

namespace sorvel {

// Asks the user for the JPEG quality (title jpegPromptTitle, text jpegPromptText, default
// answer jpegPromptDefault) and returns the answer; an empty answer when cancelled.
using JpegQualityPrompt = std::function<QString()>;

struct SaveOutcome {
    enum class Status {
        Written,        // the file holds the image
        NothingWritten, // by the rules: unknown ending, cancelled prompt, quality out of range
        Failed,         // the writer failed; message says what and where, for the user
    };

    Status status = Status::NothingWritten;
    ImageFormat format = ImageFormat::None;
    QString message; // only for Failed: heading, path and reason, in Japanese

    bool failed() const { return status == Status::Failed; }
};

// Writes the top-left width x height pixels of canvas to path in the format the path's ending
// names. askQuality is called only for ".jpg" (an empty function counts as cancelled).
// Never raises.
SaveOutcome saveImageToFile(const QImage& canvas, int width, int height, const QString& path,
                            const JpegQualityPrompt& askQuality);

} // namespace sorvel

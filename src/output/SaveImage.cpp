#include "output/SaveImage.h"

#include "output/SaveTexts.h"
#include "image/ImageWriters.h"
#include "image/JpegQuality.h"
#include "image/WriteFailureText.h"

#include <QDir>

namespace sorvel {

namespace {

SaveOutcome outcomeOf(ImageFormat format, const WriteResult& result, const QString& path)
{
    if (result.ok())
        return {SaveOutcome::Status::Written, format, {}};
    const QString message = saveFailedHeading + u'\n' + QDir::toNativeSeparators(path) + u'\n' +
                            writeFailureText(result, FailureReader::Window);
    return {SaveOutcome::Status::Failed, format, message};
}

} // namespace

SaveOutcome saveImageToFile(const QImage& canvas, int width, int height, const QString& path,
                            const JpegQualityPrompt& askQuality)
{
    const ImageFormat format = imageFormatForPath(path);
    switch (format) {
    case ImageFormat::None:
        return {SaveOutcome::Status::NothingWritten, format, {}};
    case ImageFormat::Bitmap:
        return outcomeOf(format, writeBmpFile(canvas, width, height, path), path);
    case ImageFormat::Png:
        return outcomeOf(format, writePngFile(canvas, width, height, path), path);
    case ImageFormat::Jpeg: {
        const QString answer = askQuality ? askQuality() : QString();
        const auto quality = jpegWriterQuality(jpegQualityFromAnswer(answer));
        if (!quality)
            return {SaveOutcome::Status::NothingWritten, format, {}};
        return outcomeOf(format, writeJpegFile(canvas, width, height, path, *quality), path);
    }
    }
    return {SaveOutcome::Status::NothingWritten, format, {}};
}

} // namespace sorvel

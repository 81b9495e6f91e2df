#include "command/RenderJob.h"

#include "command/CommandError.h"
#include "command/FontChoice.h"
#include "command/TextInput.h"
#include "image/AlphaPngEncoder.h"
#include "render/CanvasSurface.h"
#include "image/FileDescriptorSink.h"
#include "image/FileReplacement.h"
#include "image/ImageFormatTable.h"
#include "render/MeasuringLabel.h"
#include "render/PictureHolder.h"
#include "image/PictureLoader.h"
#include "platform/Failure.h"
#include "render/RenderTextImage.h"
#include "render/SettingsFromOptions.h"
#include "image/WriteFailureText.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace sorvel::render_command {

namespace {

float fontSizeOf(const QString& sizeText)
{
    try {
        return fontSizeFromText(sizeText);
    } catch (const Failure& error) {
        const QString reason = error.kind() == FailureKind::NotANumber
                                   ? QStringLiteral("not a number of points")
                                   : QStringLiteral("the fonts take sizes above 0 up to %1 points").arg(maxFontPoints);
        usageError(QStringLiteral("--size: %1: %2").arg(quoted(sizeText), reason));
    }
}

// The window paints no background it cannot read; a command says so instead.
void checkPicture(const QString& path)
{
    const PictureKind kind = backgroundReaderFor(path).value_or(PictureKind::BitmapOrJpeg);
    if (!readPictureFile(path, kind).isNull())
        return;
    QString reason = unreadableFileReason(path);
    if (reason.isEmpty()) {
        reason = QStringLiteral("not a %1 picture, damaged, or larger than %2 pixels a side or %3 pixels in all")
                     .arg(kind == PictureKind::Png ? QStringLiteral("PNG") : QStringLiteral("BMP or JPEG"))
                     .arg(maxPictureSide)
                     .arg(maxPicturePixels);
    }
    commandFailed(QStringLiteral("cannot read picture %1: %2").arg(quoted(path), reason));
}

// The picture in the request's format, as the window's writers encode it, streamed into sink; a
// see-through picture is always PNG (the other formats refused it before it was drawn).
WriteResult writeFor(const RenderRequest& request, const QImage& image, int width, int height, QIODevice& sink)
{
    if (image.hasAlphaChannel())
        return writeAlphaPngImage(image, width, height, sink);
    const ImageFormatRow* row = imageFormatRowOf(request.format);
    if (!row)
        row = imageFormatRowOf(ImageFormat::Png);
    return row->write(image, width, height, request.jpegQuality, sink);
}

void writeToStandardOutput(const RenderRequest& request, const QImage& image, int width, int height)
{
    std::fflush(stdout);
    FileDescriptorSink sink(STDOUT_FILENO);
    const WriteResult result = writeFor(request, image, width, height, sink);
    if (!sink.failed() && !result.ok())
        commandFailed(
            QStringLiteral("cannot encode the picture: %1").arg(writeFailureText(result, FailureReader::Command)));
    if (!sink.finish())
        commandFailed(QStringLiteral("cannot write to standard output: %1").arg(sink.failure().systemMessage));
}

} // namespace

void checkOutputStream(const RenderRequest& request)
{
    if (request.output == standardStream && isatty(STDOUT_FILENO))
        usageError(QStringLiteral("standard output is a terminal: redirect it, or use -o FILE"));
}

bool needsImagePlugins(const RenderRequest& request)
{
    return request.format == ImageFormat::Jpeg ||
           (!request.picture.isEmpty() && backgroundReaderFor(request.picture) != PictureKind::Png);
}

TextImageSettings settingsFor(const RenderRequest& request, const QString& text)
{
    TextImageSettings settings;
    settings.Text = text;
    if (!request.fontFile.isEmpty())
        settings.FontName = familyOfFontFile(request.fontFile);
    else if (request.fontName)
        settings.FontName = acceptedFontName(*request.fontName);
    if (request.sizeText) {
        settings.FontSize = fontSizeOf(*request.sizeText);
        settings.SizeText = *request.sizeText;
    }
    settings.FontBold = request.bold;
    settings.FontItalic = request.italic;
    settings.FontUnderline = request.underline;
    settings.FontStrikethrough = request.strikethrough;
    if (request.color)
        settings.ForeColor = *request.color;
    if (request.background)
        settings.BackColor = *request.background;
    if (!request.picture.isEmpty()) {
        checkPicture(request.picture);
        settings.backgroundPicture = request.picture;
    }
    settings.Shadow = request.shadow || request.shadowColor || request.shadowOffset || request.shadowBlur;
    settings.Outlines = request.outlines;
    settings.ShadowStyle.color = request.shadowColor;
    settings.ShadowStyle.alpha = request.shadowAlpha;
    settings.ShadowStyle.offset = request.shadowOffset;
    settings.ShadowStyle.blur = request.shadowBlur.value_or(0);
    settings.Rainbow = request.rainbow;
    settings.Framed = request.frame;
    settings.Layout.width = request.width;
    settings.Layout.wrap = request.wrap.value_or(request.width > 0 ? WrapMode::Word : WrapMode::None);
    settings.Layout.align = request.align;
    settings.Margins = request.margins;
    settings.BackAlpha = request.backgroundAlpha;
    return settings;
}

QSize renderAndWrite(const RenderRequest& request, const TextImageSettings& settings)
{
    const bool toStandardOutput = request.output == standardStream;
    CanvasSurface canvas;
    MeasuringLabel label;
    PictureHolder holder;
    RenderTextImage(settings, {canvas, label, holder});
    const int width = canvas.scaleWidth();
    const int height = canvas.scaleHeight();
    if (canvas.image().isNull() || width <= 0 || height <= 0)
        commandFailed(QStringLiteral("the text gives an empty picture (%1 x %2 pixels): nothing to write")
                          .arg(width)
                          .arg(height));

    const QImage& image = canvas.image();
    if (toStandardOutput) {
        writeToStandardOutput(request, image, width, height);
        return {width, height};
    }
    const WriteResult written = replaceFileWithStream(request.output, Durability::WhenClosed, [&](QIODevice& sink) {
        return writeFor(request, image, width, height, sink);
    });
    if (!written.ok())
        commandFailed(QStringLiteral("cannot write %1: %2")
                          .arg(quoted(request.output), writeFailureText(written, FailureReader::Command)));
    return {width, height};
}

QSize renderRequest(const RenderRequest& request)
{
    const QString text = readRenderText(request);
    return renderAndWrite(request, settingsFor(request, text));
}

} // namespace sorvel::render_command

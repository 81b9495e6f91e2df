#include "command/RenderJob.h"

#include "command/CommandError.h"
#include "command/FontChoice.h"
#include "command/ResultJson.h"
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
#include <cmath>
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
    const PictureKind kind = backgroundReaderFor(path, NameEndings::Command).value_or(PictureKind::BitmapOrJpeg);
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

// The character boxes as a result line holds them, in a file of their own.
void writeBoxes(const QString& path, QSize size, const RenderResult& result, const QString& output)
{
    const QByteArray json = "{\"output\": " + jsonString(output) + ", \"width\": " + QByteArray::number(size.width()) +
                            ", \"height\": " + QByteArray::number(size.height()) + missingMember(result.missing) +
                            boxesMember(result.boxes) + "}\n";
    const WriteResult written = replaceFileWith(json, path, Durability::WhenClosed);
    if (!written.ok())
        commandFailed(
            QStringLiteral("cannot write %1: %2").arg(quoted(path), writeFailureText(written, FailureReader::Command)));
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
           (!request.picture.isEmpty() &&
            backgroundReaderFor(request.picture, NameEndings::Command) != PictureKind::Png);
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
        settings.pictureEndings = NameEndings::Command;
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
    settings.Layout.vertical = request.vertical;
    settings.Layout.height = request.height;
    settings.Layout.uprightDigits = request.uprightDigits;
    settings.Layout.latinUpright = request.latinUpright;
    settings.Margins = request.margins;
    settings.BackAlpha = request.backgroundAlpha;
    // Characters may come closer by half the font's pixel size at most: further, they would
    // run backwards.
    const double halfEm = 0.5 * std::max(1L, std::lround(settings.FontSize * 96.0 / 72.0));
    if (request.letterSpacing < -halfEm) {
        usageError(QStringLiteral("--letter-spacing: %1 is below %2, minus half the font's size of %3 pixels")
                       .arg(request.letterSpacing)
                       .arg(-halfEm)
                       .arg(2 * halfEm));
    }
    settings.Layout.letterSpacing = request.letterSpacing;
    settings.Layout.lineSpacing = request.lineSpacing;
    return settings;
}

RenderResult renderAndWrite(const RenderRequest& request, const TextImageSettings& settings, bool listMissing)
{
    const bool toStandardOutput = request.output == standardStream;
    CanvasSurface canvas;
    MeasuringLabel label;
    PictureHolder holder;
    TextPlacement placement;
    renderTextImageWithPlacement(settings, {canvas, label, holder}, placement);
    const int width = canvas.scaleWidth();
    const int height = canvas.scaleHeight();
    if (canvas.image().isNull() || width <= 0 || height <= 0)
        commandFailed(QStringLiteral("the text gives an empty picture (%1 x %2 pixels): nothing to write")
                          .arg(width)
                          .arg(height));

    RenderResult result;
    result.size = {width, height};
    if (listMissing || request.missing != RenderRequest::Missing::Ignore)
        result.missing = printedMissingCharacters(settings.Text, placement);
    if (!result.missing.isEmpty() && request.missing != RenderRequest::Missing::Ignore) {
        const QString line =
            QStringLiteral("characters no installed font can draw: %1").arg(missingCharactersText(result.missing));
        if (request.missing == RenderRequest::Missing::Error)
            commandFailed(line);
        result.warning = line;
    }
    if (request.boxesInResult || !request.boxesFile.isEmpty()) {
        // Ink beyond the picture's edges is not in the picture.
        const QRectF picture(0, 0, width, height);
        result.boxes = printedCharacterBoxes(settings.Text, placement);
        for (CharacterBox& box : result.boxes)
            box.rect = box.rect.intersected(picture);
    }

    const QImage& image = canvas.image();
    if (toStandardOutput) {
        writeToStandardOutput(request, image, width, height);
    } else {
        const WriteResult written = replaceFileWithStream(request.output, Durability::WhenClosed, [&](QIODevice& sink) {
            return writeFor(request, image, width, height, sink);
        });
        if (!written.ok())
            commandFailed(QStringLiteral("cannot write %1: %2")
                              .arg(quoted(request.output), writeFailureText(written, FailureReader::Command)));
    }
    if (!request.boxesFile.isEmpty())
        writeBoxes(request.boxesFile, result.size, result, request.output);
    if (!request.boxesInResult)
        result.boxes.clear();
    return result;
}

RenderResult renderRequest(const RenderRequest& request, bool listMissing)
{
    const QString text = readRenderText(request);
    return renderAndWrite(request, settingsFor(request, text), listMissing);
}

} // namespace sorvel::render_command

#include "output/SaveImage.h"

#include "output/SaveTexts.h"
#include "platform/ImageWriters.h"
#include "platform/JpegQuality.h"

#include <QDir>

namespace sorvel {

namespace {

QString reasonText(const WriteResult& result)
{
    QString reason;
    switch (result.error) {
    case WriteError::None:
        break;
    case WriteError::InvalidSize:
        reason = QStringLiteral("画像の大きさが正しくありません。");
        break;
    case WriteError::InvalidPath:
        reason = QStringLiteral("ファイル名が指定されていません。");
        break;
    case WriteError::IsFolder:
        reason = QStringLiteral("同じ名前のフォルダーがあります。");
        break;
    case WriteError::CannotCreate:
        reason = QStringLiteral("ファイルを作成できません。");
        break;
    case WriteError::WriteFailed:
        reason = QStringLiteral("書き込み中にエラーが発生しました。ディスクの空き容量を確認してください。");
        break;
    case WriteError::CannotReplace:
        reason = QStringLiteral("既存のファイルを置き換えられませんでした。");
        break;
    }
    if (!result.systemMessage.isEmpty())
        reason += QStringLiteral("\n(") + result.systemMessage + u')';
    return reason;
}

SaveOutcome outcomeOf(ImageFormat format, const WriteResult& result, const QString& path)
{
    if (result.ok())
        return {SaveOutcome::Status::Written, format, {}};
    const QString message =
        saveFailedHeading + u'\n' + QDir::toNativeSeparators(path) + u'\n' + reasonText(result);
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
        return outcomeOf(format, saveBitmapFile(canvas, width, height, path), path);
    case ImageFormat::Png:
        return outcomeOf(format, DCSavetoPNG(canvas, width, height, path, 0), path);
    case ImageFormat::Jpeg: {
        const QString answer = askQuality ? askQuality() : QString();
        const auto quality = jpegWriterQuality(jpegQualityFromAnswer(answer));
        if (!quality)
            return {SaveOutcome::Status::NothingWritten, format, {}};
        return outcomeOf(format, DCSavetoJPEG(canvas, width, height, path, *quality, 0), path);
    }
    }
    return {SaveOutcome::Status::NothingWritten, format, {}};
}

} // namespace sorvel

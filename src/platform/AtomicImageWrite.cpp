#include "platform/AtomicImageWrite.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

#include <optional>

namespace sorvel {

namespace {

QString deviceOrEncoderError(const QSaveFile& file, const QImageWriter& writer)
{
    // A failing device (disk full) is the more telling cause than the encoder's summary.
    return file.error() != QFileDevice::NoError ? file.errorString() : writer.errorString();
}

// Opens a QSaveFile for path, hands it to writeData, and puts the finished file in place.
// writeData returns nothing on success, else why it failed.
template <typename WriteData>
WriteResult replaceThroughSaveFile(const QString& path, WriteData writeData)
{
    if (path.isEmpty())
        return WriteResult::failure(WriteError::InvalidPath, {});

    QSaveFile file(path);
    // Never fall back to writing the target in place: a failure must leave the old file whole.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        const WriteError kind =
            QFileInfo(path).isDir() ? WriteError::IsFolder : WriteError::CannotCreate;
        return WriteResult::failure(kind, file.errorString());
    }
    if (const std::optional<QString> failure = writeData(file)) {
        file.cancelWriting();
        return WriteResult::failure(WriteError::WriteFailed, *failure);
    }
    // QSaveFile checks the writes it sees, not the buffered bytes that only reach the disk when
    // commit() flushes them: a disk that fills up then would still replace the old file.
    if (!file.flush() || file.error() != QFileDevice::NoError) {
        const QString message = file.errorString();
        file.cancelWriting();
        return WriteResult::failure(WriteError::WriteFailed, message);
    }
    if (!file.commit()) {
        const WriteError kind = file.error() == QFileDevice::RenameError
            ? WriteError::CannotReplace
            : WriteError::WriteFailed;
        return WriteResult::failure(kind, file.errorString());
    }
    return WriteResult::success();
}

} // namespace

bool regionFits(const QImage& image, int width, int height)
{
    return !image.isNull() && width > 0 && height > 0 && width <= image.width()
        && height <= image.height();
}

QImage topLeftRegion(const QImage& image, int width, int height)
{
    QImage region = (width == image.width() && height == image.height())
        ? image
        : image.copy(0, 0, width, height);
    if (region.format() != QImage::Format_RGB32)
        region = region.convertToFormat(QImage::Format_RGB32);
    return region;
}

WriteResult writeImageAtomically(const QImage& image, const QString& path, const char* format,
                                 int quality)
{
    if (image.isNull())
        return WriteResult::failure(WriteError::InvalidSize, {});
    return replaceThroughSaveFile(path, [&](QSaveFile& file) -> std::optional<QString> {
        QImageWriter writer(&file, format);
        writer.setQuality(quality);
        if (!writer.write(image))
            return deviceOrEncoderError(file, writer);
        return std::nullopt;
    });
}

WriteResult writeBytesAtomically(const QByteArray& bytes, const QString& path)
{
    return replaceThroughSaveFile(path, [&](QSaveFile& file) -> std::optional<QString> {
        if (file.write(bytes) != bytes.size())
            return file.errorString();
        return std::nullopt;
    });
}

} // namespace sorvel

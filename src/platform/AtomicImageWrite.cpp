#include "platform/AtomicImageWrite.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

#include <cstring>

namespace sorvel {

namespace {

// Qt's PNG encoder loses its row table when the device fails in the middle of a write (disk
// full). A PNG is compressed, far smaller than the image, so it is encoded in memory first
// and the file only receives finished bytes; the other encoders stream straight to the file.
bool encodesInMemory(const char* format)
{
    return std::strcmp(format, "png") == 0;
}

QString deviceOrEncoderError(const QSaveFile& file, const QImageWriter& writer)
{
    // A failing device (disk full) is the more telling cause than the encoder's summary.
    return file.error() != QFileDevice::NoError ? file.errorString() : writer.errorString();
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

    if (encodesInMemory(format)) {
        QBuffer encoded;
        encoded.open(QIODevice::WriteOnly);
        QImageWriter writer(&encoded, format);
        writer.setQuality(quality);
        if (!writer.write(image)) {
            file.cancelWriting();
            return WriteResult::failure(WriteError::WriteFailed, writer.errorString());
        }
        if (file.write(encoded.data()) != encoded.data().size()) {
            const QString message = file.errorString();
            file.cancelWriting();
            return WriteResult::failure(WriteError::WriteFailed, message);
        }
    } else {
        QImageWriter writer(&file, format);
        writer.setQuality(quality);
        if (!writer.write(image)) {
            const QString message = deviceOrEncoderError(file, writer);
            file.cancelWriting();
            return WriteResult::failure(WriteError::WriteFailed, message);
        }
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

} // namespace sorvel

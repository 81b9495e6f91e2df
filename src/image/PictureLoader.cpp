#include "image/PictureLoader.h"

#include "image/Bmp16Samples.h"
#include "image/BmpPixelData.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <mutex>

namespace sorvel {

namespace {

// What tells one file from another at the same path: a file put in place by a rename has
// another inode, one rewritten in place (cp -p keeps the size and the modification time) has
// another change time.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = -1;
    timespec modified{};
    timespec changed{};

    static FileIdentity of(const struct stat& status)
    {
        return {status.st_dev, status.st_ino, status.st_size, status.st_mtim, status.st_ctim};
    }
    bool operator==(const FileIdentity& other) const
    {
        return device == other.device && inode == other.inode && size == other.size &&
               modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec &&
               changed.tv_sec == other.changed.tv_sec && changed.tv_nsec == other.changed.tv_nsec;
    }
};

struct CachedPicture {
    QString path;
    PictureKind kind = PictureKind::Png;
    FileIdentity identity;
    QImage image;
};

bool regularWithinLimit(const struct stat& status)
{
    return S_ISREG(status.st_mode) && status.st_size > 0 && status.st_size <= maxPictureFileBytes;
}

QImage decode(QIODevice& device, PictureKind kind)
{
    static std::once_flag limitSet;
    std::call_once(limitSet, [] { QImageReader::setAllocationLimit(decoderAllocationLimitMB); });

    const QByteArray detected = QImageReader::imageFormat(&device);
    if (!contentNamesReadBy(kind).contains(detected))
        return {};
    std::optional<std::array<int, 4>> bmp16Bits;
    if (detected == "bmp") {
        const QByteArray header = device.peek(bmpHeaderBytes);
        if (!bmpPixelDataComplete(header, device.size()))
            return {};
        bmp16Bits = bmp16ChannelBits(header);
    }
    QImageReader reader(&device, detected);
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty() || size.width() > maxPictureSide || size.height() > maxPictureSide ||
        static_cast<long long>(size.width()) * size.height() > maxPicturePixels)
        return {};
    QImage image;
    if (!reader.read(&image) || image.isNull() || image.size() != size)
        return {};
    if (bmp16Bits) {
        image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        if (image.isNull())
            return {};
        widenBmp16Samples(image, *bmp16Bits);
    }
    const QImage::Format target = image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    if (image.format() != target)
        image = image.convertToFormat(target);
    return image;
}

} // namespace

QImage readPictureFile(const QString& path, PictureKind kind)
{
    thread_local CachedPicture cache;
    if (path.isEmpty())
        return {};
    const QByteArray name = QFile::encodeName(path);
    struct stat status { };
    // Looked at before it is opened: opening a device may do something.
    if (::stat(name.constData(), &status) != 0 || !regularWithinLimit(status))
        return {};
    // Without blocking, should a FIFO have taken the file's place since.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {};
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return {};
    }
    // The identity of what was opened, which may differ from what was looked at.
    if (::fstat(fd, &status) != 0 || !regularWithinLimit(status))
        return {};
    const FileIdentity identity = FileIdentity::of(status);
    if (!cache.image.isNull() && cache.path == path && cache.kind == kind && cache.identity == identity)
        return cache.image;

    QImage image = decode(file, kind);
    if (image.isNull())
        return {};
    cache = CachedPicture{path, kind, identity, image};
    return image;
}

QImage decodePicture(const QByteArray& bytes, PictureKind kind)
{
    if (bytes.isEmpty() || bytes.size() > maxPictureFileBytes)
        return {};
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return {};
    return decode(buffer, kind);
}

} // namespace sorvel

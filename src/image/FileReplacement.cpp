#include "image/FileReplacement.h"

#include "image/FileDescriptorSink.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <exception>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sorvel {

namespace {

constexpr int nameAttempts = 16;

QString systemMessage(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

WriteResult failure(WriteError kind, int error)
{
    return WriteResult::failure(kind, systemMessage(error));
}

// The permissions a new file gets from open(): 0666 less the process's umask. Read without
// changing it where the system tells it.
mode_t readNewFileMode()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly | QIODevice::Text)) {
        for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
            if (line.startsWith("Umask:")) {
                bool ok = false;
                const uint mask = line.mid(6).trimmed().toUInt(&ok, 8);
                if (ok)
                    return static_cast<mode_t>(0666 & ~mask);
            }
        }
    }
    const mode_t mask = umask(022);
    umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

// Read once: nothing in the program changes its umask, and a batch writes thousands of files.
mode_t newFileMode()
{
    static const mode_t mode = readNewFileMode();
    return mode;
}

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) { }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int get() const { return m_fd; }
    // Closes now; the error of close() (some file systems report failed writes only here).
    int close()
    {
        const int result = ::close(m_fd);
        m_fd = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int m_fd;
};

// Removes the named temporary file unless told it is in place.
class TemporaryName {
public:
    TemporaryName() = default;
    TemporaryName(const TemporaryName&) = delete;
    TemporaryName& operator=(const TemporaryName&) = delete;
    ~TemporaryName()
    {
        if (!name.isEmpty())
            ::unlink(name.constData());
    }
    QByteArray name;
};

// The writer's contents in fd: the system's reason for a failed write before the writer's own.
WriteResult writeContents(int fd, const FileContentsWriter& write)
{
    FileDescriptorSink sink(fd);
    const WriteResult written = write(sink);
    if (sink.failed())
        return sink.failure();
    if (!written.ok())
        return written;
    if (!sink.finish())
        return sink.failure();
    return WriteResult::success();
}

QByteArray temporaryNameIn(const QByteArray& folder, const QByteArray& fileName)
{
    return folder + "/." + fileName + '.' + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
}

// The name through which an unnamed file can be linked into a folder.
QByteArray descriptorPath(int fd)
{
    return "/proc/self/fd/" + QByteArray::number(fd);
}

// Gives the unnamed file in fd a temporary name in folder; errno on failure.
int nameUnnamedFile(int fd, const QByteArray& folder, const QByteArray& fileName, TemporaryName& temporary)
{
    const QByteArray self = descriptorPath(fd);
    for (int attempt = 0; attempt < nameAttempts; ++attempt) {
        const QByteArray name = temporaryNameIn(folder, fileName);
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) == 0) {
            temporary.name = name;
            return 0;
        }
        if (errno != EEXIST)
            return errno;
    }
    return EEXIST;
}

// Makes the folder's entries (the new name) durable; 0 or errno. A file system that cannot
// sync a folder (EINVAL) keeps its names some other way.
int syncFolder(const QByteArray& folder)
{
    Descriptor directory(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.get() < 0)
        return errno;
    if (::fsync(directory.get()) == 0 || errno == EINVAL)
        return 0;
    return errno;
}

} // namespace

WriteResult replaceFileWithStream(const QString& path, Durability durability, const FileContentsWriter& write) noexcept
{
    try {
        if (path.isEmpty())
            return WriteResult::failure(WriteError::InvalidPath, {});
        QFileInfo info(path);
        if (info.isDir())
            return failure(WriteError::IsFolder, EISDIR);
        // A symbolic link stays: the file it leads to is replaced.
        if (info.exists())
            info = QFileInfo(info.canonicalFilePath());
        const QByteArray target = QFile::encodeName(info.absoluteFilePath());
        const QByteArray folder = QFile::encodeName(info.absolutePath());
        const QByteArray fileName = QFile::encodeName(info.fileName());

        struct stat existing { };
        const bool replaces = ::stat(target.constData(), &existing) == 0 && S_ISREG(existing.st_mode);
        const mode_t mode = replaces ? static_cast<mode_t>(existing.st_mode & 07777) : newFileMode();

        // A file without a name: a process that ends half-way leaves nothing behind. Where the
        // file system has none, a hidden temporary name that a failure removes.
        TemporaryName temporary;
#ifdef O_TMPFILE
        int fd = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
        const bool unnamed = fd >= 0;
#else
        int fd = -1;
        const bool unnamed = false;
        errno = EOPNOTSUPP;
#endif
        if (!unnamed && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
            for (int attempt = 0; attempt < nameAttempts && fd < 0; ++attempt) {
                const QByteArray name = temporaryNameIn(folder, fileName);
                fd = ::open(name.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, mode);
                if (fd >= 0)
                    temporary.name = name;
                else if (errno != EEXIST)
                    break;
            }
        }
        if (fd < 0)
            return failure(WriteError::CannotCreate, errno);
        Descriptor file(fd);
        if (::fchmod(file.get(), mode) != 0)
            return failure(WriteError::CannotCreate, errno);
        if (const WriteResult written = writeContents(file.get(), write); !written.ok())
            return written;
        if (durability == Durability::OnDisk && ::fsync(file.get()) != 0)
            return failure(WriteError::WriteFailed, errno);
        // Nothing to replace: the unnamed file takes the name itself, in one step that fails
        // should the name appear meanwhile (the file then replaces it as below).
        if (unnamed && !replaces && durability == Durability::WhenClosed &&
            ::linkat(AT_FDCWD, descriptorPath(file.get()).constData(), AT_FDCWD, target.constData(),
                     AT_SYMLINK_FOLLOW) == 0) {
            if (const int error = file.close()) {
                ::unlink(target.constData());
                return failure(WriteError::WriteFailed, error);
            }
            return WriteResult::success();
        }
        if (unnamed) {
            if (const int error = nameUnnamedFile(file.get(), folder, fileName, temporary))
                return failure(WriteError::CannotReplace, error);
        }
        if (const int error = file.close())
            return failure(WriteError::WriteFailed, error);
        if (::rename(temporary.name.constData(), target.constData()) != 0)
            return failure(WriteError::CannotReplace, errno);
        temporary.name.clear();
        if (durability == Durability::OnDisk) {
            if (const int error = syncFolder(folder))
                return failure(WriteError::WriteFailed, error);
        }
        return WriteResult::success();
    } catch (const std::exception&) {
        return failure(WriteError::WriteFailed, ENOMEM);
    }
}

WriteResult replaceFileWith(const QByteArray& bytes, const QString& path, Durability durability) noexcept
{
    return replaceFileWithStream(path, durability, [&bytes](QIODevice& sink) {
        // A failed write is the sink's to report.
        sink.write(bytes);
        return WriteResult::success();
    });
}

} // namespace sorvel

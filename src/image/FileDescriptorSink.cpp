#include "image/FileDescriptorSink.h"

#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace sorvel {

namespace {

constexpr std::size_t bufferBytes = 256 * 1024;

} // namespace

FileDescriptorSink::FileDescriptorSink(int fd) : m_fd(fd), m_buffer(bufferBytes)
{
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

bool FileDescriptorSink::finish()
{
    if (m_error == 0 && m_used > 0)
        writeOut(m_buffer.data(), m_used);
    m_used = 0;
    return m_error == 0;
}

WriteResult FileDescriptorSink::failure() const
{
    return WriteResult::failure(WriteError::WriteFailed, QString::fromLocal8Bit(std::strerror(m_error)));
}

qint64 FileDescriptorSink::readData(char*, qint64)
{
    return -1;
}

qint64 FileDescriptorSink::writeData(const char* data, qint64 size)
{
    if (m_error != 0 || size < 0)
        return -1;
    const auto bytes = static_cast<std::size_t>(size);
    if (m_used + bytes > m_buffer.size()) {
        if (!finish())
            return -1;
        // A piece as large as the buffer goes straight to the file.
        if (bytes >= m_buffer.size())
            return writeOut(data, bytes) ? size : -1;
    }
    if (bytes > 0)
        std::memcpy(m_buffer.data() + m_used, data, bytes);
    m_used += bytes;
    return size;
}

bool FileDescriptorSink::writeOut(const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(m_fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            m_error = errno;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace sorvel

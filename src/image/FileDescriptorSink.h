#pragma once
// A QIODevice that writes to an open file descriptor (the file being replaced, standard
// output), so that an encoder can stream its bytes there instead of building them in memory.
// Small writes (libpng's chunk headers, Qt's JPEG blocks) are gathered into one buffer and
// written in large pieces. The first failing write is kept: every later write fails, and
// failure() gives the system's reason. The descriptor stays open.

#include "image/ImageWriteResult.h"

#include <QIODevice>

#include <vector>

namespace sorvel {

class FileDescriptorSink : public QIODevice {
public:
    explicit FileDescriptorSink(int fd);
    FileDescriptorSink(const FileDescriptorSink&) = delete;
    FileDescriptorSink& operator=(const FileDescriptorSink&) = delete;

    // Writes out what is buffered; false when that or any write before it failed.
    bool finish();
    // Whether a write has failed.
    bool failed() const { return m_error != 0; }
    // WriteFailed with the system's reason for the first failed write.
    WriteResult failure() const;

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    bool writeOut(const char* data, std::size_t size);

    int m_fd;
    int m_error = 0; // errno of the first failed write
    std::vector<char> m_buffer;
    std::size_t m_used = 0;
};

} // namespace sorvel

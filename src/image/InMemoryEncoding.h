#pragma once
// An encoder that streams into a device, run into memory instead: for the callers that want a
// picture's bytes (tests, fuzz targets, benchmarks) rather than a file.

#include "image/ImageWriteResult.h"

#include <QBuffer>
#include <QByteArray>

#include <cerrno>
#include <cstring>
#include <exception>

namespace sorvel {

// Runs write(sink) with a sink that collects into bytes; on failure bytes is left empty.
template <typename Write> WriteResult encodeInMemory(QByteArray& bytes, Write write) noexcept
{
    bytes.clear();
    WriteResult result;
    try {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        result = write(static_cast<QIODevice&>(buffer));
    } catch (const std::exception&) {
        result = WriteResult::failure(WriteError::WriteFailed, QString::fromLocal8Bit(std::strerror(ENOMEM)));
    }
    if (!result.ok())
        bytes.clear();
    return result;
}

} // namespace sorvel

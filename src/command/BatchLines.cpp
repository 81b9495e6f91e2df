#include "command/BatchLines.h"

#include <QFileDevice>

namespace sorvel::render_command {

namespace {

bool endsLine(const QByteArray& bytes)
{
    return bytes.endsWith('\n');
}

// Whether an empty read means the device failed rather than that it has ended.
bool readFailed(QIODevice& device)
{
    const auto* file = qobject_cast<QFileDevice*>(&device);
    return !device.atEnd() && file && file->error() != QFileDevice::NoError;
}

} // namespace

BatchLineReader::Status BatchLineReader::next(QByteArray& line)
{
    // The line, its CR LF and one byte more: enough to tell a line of the limit from a longer
    // one. readLine() stops at a line end, after that many bytes, or at the device's end.
    line = m_device.readLine(m_maxLineBytes + 3);
    if (line.isEmpty())
        return readFailed(m_device) ? Status::ReadFailed : Status::End;
    ++m_lineNumber;
    const bool ended = endsLine(line);
    if (ended) {
        line.chop(1);
        if (line.endsWith('\r'))
            line.chop(1);
    }
    if (line.size() <= m_maxLineBytes)
        return Status::Line;
    line = QByteArray();
    if (!ended && !skipRestOfLine())
        return Status::ReadFailed;
    return Status::TooLong;
}

bool BatchLineReader::skipRestOfLine()
{
    for (;;) {
        const QByteArray part = m_device.readLine(64 * 1024);
        if (part.isEmpty())
            return !readFailed(m_device);
        if (endsLine(part))
            return true;
    }
}

} // namespace sorvel::render_command

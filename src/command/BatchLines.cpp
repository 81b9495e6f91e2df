#include "command/BatchLines.h"

#include <QFileDevice>

namespace sorvel::render_command {

namespace {

// Whether a read that gave nothing means the device failed rather than that it has ended.
bool readFailed(QIODevice& device)
{
    const auto* file = qobject_cast<QFileDevice*>(&device);
    return !device.atEnd() && file && file->error() != QFileDevice::NoError;
}

} // namespace

BatchLineReader::Status BatchLineReader::next(QByteArray& line)
{
    line.clear();
    // A piece at a time, so that a line takes the memory of its own bytes (of no more than the
    // limit and its CR LF), whatever the limit.
    char piece[64 * 1024];
    bool any = false;
    bool tooLong = false;
    for (;;) {
        const qint64 got = m_device.readLine(piece, sizeof piece);
        if (got <= 0) {
            if (readFailed(m_device))
                return Status::ReadFailed;
            if (!any)
                return Status::End;
            break; // the last line, without a line end
        }
        any = true;
        if (!tooLong) {
            line.append(piece, got);
            if (line.size() > m_maxLineBytes + 2) {
                tooLong = true;
                line = QByteArray();
            }
        }
        if (piece[got - 1] == '\n')
            break;
    }
    ++m_lineNumber;
    if (!tooLong) {
        if (line.endsWith('\n')) {
            line.chop(1);
            if (line.endsWith('\r'))
                line.chop(1);
        }
        if (line.size() <= m_maxLineBytes)
            return Status::Line;
        line = QByteArray();
    }
    return Status::TooLong;
}

} // namespace sorvel::render_command

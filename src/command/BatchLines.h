#pragma once
// The lines of a batch file, read one at a time as they come (a FIFO or a slow producer is
// streamed), each at most maxBatchLineBytes long: a longer line is passed over to its end
// without being held in memory, so that it fails its own job only and the batch goes on.

#include "command/TextInput.h"

#include <QByteArray>
#include <QIODevice>

namespace sorvel::render_command {

// The longest job line, its line end not counted: the longest text, so that any text a
// picture takes fits on a line of plain characters. Longer texts go in a "text-file".
constexpr qint64 maxBatchLineBytes = maxTextBytes;

class BatchLineReader {
public:
    enum class Status {
        Line,       // line holds the next line, without its line end
        TooLong,    // the next line is longer than the limit; line is empty
        End,        // no more lines
        ReadFailed, // the device failed; its errorString() says why
    };

    explicit BatchLineReader(QIODevice& device, qint64 maxLineBytes = maxBatchLineBytes)
        : m_device(device), m_maxLineBytes(maxLineBytes)
    {
    }

    Status next(QByteArray& line);
    // The number of the line next() gave last, from 1.
    int lineNumber() const { return m_lineNumber; }
    qint64 maxLineBytes() const { return m_maxLineBytes; }

private:
    QIODevice& m_device;
    qint64 m_maxLineBytes;
    int m_lineNumber = 0;
};

} // namespace sorvel::render_command

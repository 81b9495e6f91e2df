#pragma once
// A failure that ends sorvel-render: one line for standard error and the exit status.

#include <QFileInfo>
#include <QString>

#include <exception>

namespace sorvel::render_command {

enum ExitStatus : int {
    Success = 0,
    Failed = 1,     // a file could not be read or written, a font is missing
    UsageError = 2, // the command line asks for something impossible
};

class CommandError : public std::exception {
public:
    CommandError(ExitStatus status, QString message) : m_status(status), m_message(std::move(message)) { }

    ExitStatus status() const noexcept { return m_status; }
    // The reason, without the program's name and without a line end.
    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return "sorvel-render failed"; }

private:
    ExitStatus m_status;
    QString m_message;
};

// text with line breaks and other control characters written as escapes (\n, \r, \u001b),
// so that a message holding it stays one line.
inline QString withVisibleControls(const QString& text)
{
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\n')
            shown += QStringLiteral("\\n");
        else if (c == u'\r')
            shown += QStringLiteral("\\r");
        else if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            shown += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return shown;
}

// A name or value as a message shows it: in single quotes, its control characters escaped.
inline QString quoted(const QString& text)
{
    return u'\'' + withVisibleControls(text) + u'\'';
}

// Why a file the command is to read cannot be opened, as the file system tells it; empty for
// a readable regular file (whose contents may still be wrong).
inline QString unreadableFileReason(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("no such file");
    if (!info.isFile())
        return QStringLiteral("not a regular file");
    if (!info.isReadable())
        return QStringLiteral("permission denied");
    return {};
}

// The command line or a job line asks for something impossible: exit status 2 for the command
// line, the job's failure in a batch.
[[noreturn]] inline void usageError(const QString& message)
{
    throw CommandError(UsageError, message);
}

// A file, a font or the picture failed: exit status 1, or the job's failure in a batch. (The
// platform's fail(FailureKind) is another thing: it raises a Failure.)
[[noreturn]] inline void commandFailed(const QString& message)
{
    throw CommandError(Failed, message);
}

} // namespace sorvel::render_command

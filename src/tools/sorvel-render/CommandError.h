#pragma once
// A failure that ends sorvel-render: one line for standard error and the exit status.

#include <QString>

#include <exception>

namespace sorvel::render_command {

enum ExitStatus : int {
    Success = 0,
    Failed = 1,       // a file could not be read or written, a font is missing
    UsageError = 2,   // the command line asks for something impossible
};

class CommandError : public std::exception {
public:
    CommandError(ExitStatus status, QString message) : m_status(status), m_message(std::move(message)) {}

    ExitStatus status() const noexcept { return m_status; }
    // The reason, without the program's name and without a line end.
    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return "sorvel-render failed"; }

private:
    ExitStatus m_status;
    QString m_message;
};

// A name or value as a message shows it: in single quotes.
inline QString quoted(const QString& text)
{
    return u'\'' + text + u'\'';
}

[[noreturn]] inline void usageError(const QString& message)
{
    throw CommandError(UsageError, message);
}

[[noreturn]] inline void failure(const QString& message)
{
    throw CommandError(Failed, message);
}

} // namespace sorvel::render_command

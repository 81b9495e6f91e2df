// sorvel-render: renders text pictures with the window's renderer and writes them to files or
// to standard output, without a display: one picture, or a batch of them. See --help.

#include "command/BatchRun.h"
#include "command/CommandError.h"
#include "command/CommandLine.h"
#include "command/FontChoice.h"
#include "command/RenderJob.h"
#include "command/TextInput.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPalette>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define SORVEL_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SORVEL_SANITIZED 1
#endif
#endif
#ifndef SORVEL_SANITIZED
#define SORVEL_SANITIZED 0
#endif
#if SORVEL_SANITIZED
#include <sanitizer/common_interface_defs.h>
#endif

#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

using namespace sorvel::render_command;

namespace {

// Where this command's own messages go: the standard error the caller gave.
std::FILE* messages = stderr;

// Why the last of this command's own text for standard output (help, the font list) could
// not be written; empty while it could.
QString lostOutputReason;

void print(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    const bool written = std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream) ==
                         static_cast<std::size_t>(bytes.size());
    if ((std::fflush(stream) != 0 || !written) && stream == stdout)
        lostOutputReason = QString::fromLocal8Bit(std::strerror(errno));
}

int report(ExitStatus status, const QString& message)
{
    print(messages, QCoreApplication::applicationName() + QStringLiteral(": ") + message + u'\n');
    return status;
}

// A text whose reader went away is as lost as a picture: say so, as cat does.
int statusAfterPrinting(int status)
{
    if (lostOutputReason.isEmpty() || status != Success)
        return status;
    return report(Failed, QStringLiteral("cannot write to standard output: ") + lostOutputReason);
}

// Libraries write to standard error on their own (fontconfig's warnings, an image library's
// complaints about a damaged file) in between this command's lines. The command keeps the
// caller's standard error for itself and gives the libraries /dev/null: every failure still
// reaches the caller, once, as this command's own line. A sanitizer build sends the
// sanitizers' reports to the caller's standard error too.
void keepStandardErrorForMessages()
{
    const int own = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
    const int nothing = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (own < 0 || nothing < 0)
        return;
    std::FILE* stream = ::fdopen(own, "w");
    if (!stream || ::dup2(nothing, STDERR_FILENO) < 0)
        return;
    ::close(nothing);
    messages = stream;
#if SORVEL_SANITIZED
    __sanitizer_set_report_fd(reinterpret_cast<void*>(static_cast<std::uintptr_t>(own)));
#endif
}

// No display needed: the offscreen platform, unless the caller names one.
void chooseHeadlessPlatform()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// Standard error carries this command's own messages, one line for a failure. Qt's messages
// only repeat what the results of its calls already tell (a writer that fails says so in its
// result), or concern nothing this command does (the runtime folder Qt looks into for a
// sandbox at start-up). A fatal one ends the program: it is said in one line.
void filterQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtFatalMsg)
        return;
    QString line = message;
    line.replace(u'\n', u' ');
    report(Failed, QStringLiteral("internal error: ") + line);
}

} // namespace

int main(int argc, char* argv[])
{
    // A reader that goes away, or a file size limit, is a write error to report rather than
    // a silent death: the command then ends with status 1 and one line, and a batch begins no
    // further job while those being drawn finish their files, so no file is left half written.
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
    // Every picture allocates and frees the same few blocks (the canvas, the encoder's zlib
    // window): keeping them in the heap instead of a fresh mapping each time spares a batch the
    // page faults of clearing new memory for every picture. The heap stays the size of a few
    // pictures.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
    keepStandardErrorForMessages();
    qInstallMessageHandler(filterQtMessages);
    QCoreApplication::setApplicationName(QStringLiteral("sorvel-render"));
    QCoreApplication::setApplicationVersion(QStringLiteral(SORVEL_VERSION));

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));

    try {
        const ParsedCommandLine parsed = parseCommandLine(arguments);
        if (parsed.action == ParsedCommandLine::Action::ShowHelp ||
            parsed.action == ParsedCommandLine::Action::ShowVersion) {
            print(stdout, parsed.shownText);
            return statusAfterPrinting(Success);
        }
        const RenderRequest& request = parsed.request;
        QString text;
        if (parsed.action == ParsedCommandLine::Action::Render) {
            checkOutputStream(request);
            text = readRenderText(request);
        }

        // The application sees only the program's name: every argument is this command's own,
        // so a text such as "-reverse" never reaches Qt's own option handling.
        chooseHeadlessPlatform();
        int applicationArgc = 1;
        char* applicationArgv[] = {argv[0], nullptr};
        QGuiApplication application(applicationArgc, applicationArgv);
        // Qt's image writers load every image format plugin to ask which one writes PNG;
        // PNG and BMP are built in, so without JPEG in play no plugin is needed. A batch may
        // ask for anything in any line.
        if (parsed.action == ParsedCommandLine::Action::Render && !needsImagePlugins(request))
            QCoreApplication::setLibraryPaths({});

        int status = Success;
        switch (parsed.action) {
        case ParsedCommandLine::Action::ListFonts:
            for (const QString& line : fontListLines())
                print(stdout, line + u'\n');
            break;
        case ParsedCommandLine::Action::Batch:
            // The palette and the font list are read once here, before any worker needs them.
            (void)QGuiApplication::palette();
            (void)acceptedFontFamilies();
            status = runBatch({parsed.batchFile, parsed.jobs, request}, stdout, messages);
            break;
        default: {
            const RenderResult result = renderAndWrite(request, settingsFor(request, text));
            if (!result.warning.isEmpty())
                report(Success, result.warning);
            break;
        }
        }
        status = statusAfterPrinting(status);
        // The pictures are out and every file closed. Taking the font system, the platform and
        // the application apart costs more than the drawing of a short text, and the system
        // frees all of it anyway.
        std::fflush(nullptr);
        std::_Exit(status);
    } catch (const CommandError& error) {
        return report(error.status(), error.message());
    } catch (const std::bad_alloc&) {
        return report(Failed, QStringLiteral("out of memory"));
    }
}

// sorvel-render: renders one text picture with the window's renderer and writes it to a file
// or to standard output, without a display. See --help.

#include "CommandError.h"
#include "CommandLine.h"
#include "RenderJob.h"
#include "TextInput.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <new>

using namespace sorvel::render_command;

namespace {

void print(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
}

int report(ExitStatus status, const QString& message)
{
    print(stderr, QCoreApplication::applicationName() + QStringLiteral(": ") + message + u'\n');
    return status;
}

// No display needed: the offscreen platform, unless the caller names one.
void chooseHeadlessPlatform()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// Standard error carries this command's own messages, one line for a failure. Qt's debug
// output and warnings only repeat what the results of its calls already tell (a writer that
// fails says so in its result), or concern nothing this command does (the runtime folder Qt
// looks into for a sandbox at start-up); its critical and fatal messages pass through.
QtMessageHandler qtHandler = nullptr;

void filterQtMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtDebugMsg || type == QtInfoMsg || type == QtWarningMsg)
        return;
    qtHandler(type, context, message);
}

} // namespace

int main(int argc, char* argv[])
{
    // A reader that goes away, or a file size limit, is a write error to report rather than
    // a silent death.
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
    qtHandler = qInstallMessageHandler(filterQtMessages);
    QCoreApplication::setApplicationName(QStringLiteral("sorvel-render"));
    QCoreApplication::setApplicationVersion(QStringLiteral(SORVEL_VERSION));

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));

    try {
        const ParsedCommandLine parsed = parseCommandLine(arguments);
        if (parsed.action != ParsedCommandLine::Action::Render) {
            print(stdout, parsed.shownText);
            return Success;
        }
        const RenderRequest& request = parsed.request;
        checkOutputStream(request);
        const QString text = readRenderText(request);

        // The application sees only the program's name: every argument is this command's own,
        // so a text such as "-reverse" never reaches Qt's own option handling.
        chooseHeadlessPlatform();
        int applicationArgc = 1;
        char* applicationArgv[] = {argv[0], nullptr};
        QGuiApplication application(applicationArgc, applicationArgv);
        // Qt's image writers load every image format plugin to ask which one writes PNG;
        // PNG and BMP are built in, so without JPEG in play no plugin is needed.
        if (!needsImagePlugins(request))
            QCoreApplication::setLibraryPaths({});

        renderAndWrite(request, settingsFor(request, text));
        // The picture is out and every file closed. Taking the font system, the platform and
        // the application apart costs more than the drawing of a short text, and the system
        // frees all of it anyway.
        std::fflush(nullptr);
        std::_Exit(Success);
    } catch (const CommandError& error) {
        return report(error.status(), error.message());
    } catch (const std::bad_alloc&) {
        return report(Failed, QStringLiteral("out of memory"));
    }
}

#include "command/CommandLine.h"

#include "command/CommandError.h"
#include "command/BatchLines.h"
#include "command/CommandOptions.h"
#include "command/TextInput.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace sorvel::render_command {

namespace {

const QString description =
    QStringLiteral("Renders a text as a picture, exactly as the Sorvel window draws it, and writes it to\n"
                   "OUTPUT. The name's ending chooses the format: .png, .jpg or .jpeg (see --quality), .bmp\n"
                   "or .gif (a Windows bitmap either way); \"-\" writes PNG to standard output.\n"
                   "\n"
                   "The text is the argument, the contents of --text-file, or else standard input (UTF-8;\n"
                   "one line end at the very end of a file is not part of the text). Every line break\n"
                   "starts a new line of the picture. A text is at most 16 MiB (%1 bytes), about what a\n"
                   "picture of the largest size shows at a legible size: a longer one, or an endless one\n"
                   "such as /dev/zero, fails at once with one line.\n"
                   "\n"
                   "COLOR is a palette index from 0 to 15 (0 black, 1 blue, 2 green, 3 cyan, 4 red,\n"
                   "5 magenta, 6 yellow, 7 light grey, 8 grey, 9 light blue, 10 light green, 11 light\n"
                   "cyan, 12 light red, 13 light magenta, 14 light yellow, 15 white) or #RRGGBB.\n"
                   "Without options the picture is the window's at start-up: the default font at size 14,\n"
                   "window text colour on window background colour.\n"
                   "\n"
                   "With --batch, every line of FILE is one job: a JSON object whose keys are the long option\n"
                   "names and \"text\" ({\"text\": \"Hi\", \"output\": \"hi.png\", \"bold\": true}); the command\n"
                   "line's options are every job's defaults. Each job gives one JSON line on standard output,\n"
                   "in input order, and a failure also FILE:LINE: reason on standard error. A job line is\n"
                   "at most %2 bytes long: a longer one fails that job, and the batch goes on (give a\n"
                   "longer text as \"text-file\"). Lines are read as they come: FILE may be a pipe.\n"
                   "\n"
                   "Exit status: 0 written, 1 a file could not be read or written or the font is not\n"
                   "installed (in a batch: any job failed), 2 the command line is wrong or the batch file\n"
                   "cannot be read. Nothing is left behind on failure. When standard output's reader goes\n"
                   "away, as with | head, the command begins no further picture, leaves only whole files\n"
                   "and ends with status 1 and one line.")
        .arg(maxTextBytes)
        .arg(maxBatchLineBytes);

QCommandLineOption parserOption(const CommandOption& option)
{
    QStringList names;
    if (option.shortName)
        names << QString::fromLatin1(option.shortName);
    names << option.longName();
    if (option.kind == OptionKind::Flag)
        return QCommandLineOption(names, QString::fromUtf8(option.help));
    return QCommandLineOption(names, QString::fromUtf8(option.help), QString::fromLatin1(option.valueName));
}

void readText(const QCommandLineParser& parser, RenderRequest& request)
{
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1)
        usageError(QStringLiteral("%1 arguments where one text was expected (quote a text with blanks)")
                       .arg(positional.size()));
    const bool fromFile = parser.isSet(QStringLiteral("text-file"));
    if (fromFile && !positional.isEmpty())
        usageError(QStringLiteral("the text is given twice: as an argument and with --text-file"));
    if (!fromFile && !positional.isEmpty()) {
        request.textSource = RenderRequest::TextSource::Argument;
        request.text = positional.constFirst();
    }
}

// The help: usage, description, then every option on one line of its own, however long, so
// that a script can look an option up with grep.
QString helpText(const QList<QCommandLineOption>& options)
{
    QString text = QStringLiteral("Usage: %1 [options] [text]\n%2\n\nOptions:\n")
                       .arg(QCoreApplication::applicationName(), description);
    QList<QString> heads;
    qsizetype widest = 0;
    for (const QCommandLineOption& option : options) {
        QStringList names;
        for (const QString& name : option.names())
            names << (name.size() == 1 ? u'-' + name : QStringLiteral("--") + name);
        QString head = QStringLiteral("  ") + names.join(QStringLiteral(", "));
        if (!option.valueName().isEmpty())
            head += QStringLiteral(" <%1>").arg(option.valueName());
        widest = std::max(widest, head.size());
        heads << head;
    }
    for (qsizetype i = 0; i < options.size(); ++i)
        text += heads[i].leftJustified(widest + 2) + options[i].description() + u'\n';
    text += QStringLiteral("\nArguments:\n") + QStringLiteral("  text").leftJustified(widest + 2) +
            QStringLiteral("The text (else --text-file or standard input).\n");
    return text;
}

int jobsOf(const QString& value)
{
    bool ok = false;
    const int jobs = value.toInt(&ok);
    if (!ok || jobs < 1 || jobs > 1024)
        usageError(QStringLiteral("--jobs: %1 is not a number from 1 to 1024").arg(quoted(value)));
    return jobs;
}

// Qt's messages can hold several lines, and the names they quote any character; the command
// reports one line.
QString oneLine(QString text)
{
    text.replace(u'\n', QStringLiteral("; "));
    text = withVisibleControls(text);
    text = text.trimmed();
    if (text.endsWith(u'.'))
        text.chop(1);
    return text;
}

} // namespace

ParsedCommandLine parseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    QList<QCommandLineOption> all;
    for (const CommandOption& option : commandOptions())
        all << parserOption(option);
    parser.addOptions(all);
    parser.addPositionalArgument(QStringLiteral("text"),
                                 QStringLiteral("The text (else --text-file or standard input)."),
                                 QStringLiteral("[text]"));
    const QString help = QStringLiteral("help");
    const QString version = QStringLiteral("version");
    const QString batch = QStringLiteral("batch");
    const QString jobs = QStringLiteral("jobs");
    const QString listFonts = QStringLiteral("list-fonts");

    ParsedCommandLine parsed;
    if (!parser.parse(arguments))
        usageError(oneLine(parser.errorText()));
    if (parser.isSet(help)) {
        parsed.action = ParsedCommandLine::Action::ShowHelp;
        parsed.shownText = helpText(all);
        return parsed;
    }
    if (parser.isSet(version)) {
        parsed.action = ParsedCommandLine::Action::ShowVersion;
        parsed.shownText = QCoreApplication::applicationName() + u' ' + QCoreApplication::applicationVersion() + u'\n';
        return parsed;
    }
    RenderRequest& request = parsed.request;
    for (const CommandOption& option : commandOptions()) {
        const QString name = option.longName();
        if (!option.isPictureOption() || !parser.isSet(name))
            continue;
        if (option.kind == OptionKind::Value)
            option.setValue(request, parser.value(name));
        else if (option.kind == OptionKind::Values)
            option.setValues(request, parser.values(name));
        else
            option.setFlag(request, true);
    }
    if (parser.isSet(listFonts)) {
        parsed.action = ParsedCommandLine::Action::ListFonts;
        return parsed;
    }
    if (parser.isSet(batch)) {
        parsed.action = ParsedCommandLine::Action::Batch;
        parsed.batchFile = parser.value(batch);
        if (parsed.batchFile.isEmpty())
            usageError(QStringLiteral("--batch: no file name"));
        if (!request.boxesFile.isEmpty())
            usageError(QStringLiteral("--boxes FILE is for one picture: a batch job asks with \"boxes\": true"));
        if (!parser.positionalArguments().isEmpty())
            usageError(QStringLiteral("a batch takes its texts from its jobs, not from the command line"));
        if (parser.isSet(jobs))
            parsed.jobs = jobsOf(parser.value(jobs));
        return parsed;
    }
    if (parser.isSet(jobs))
        usageError(QStringLiteral("--jobs is for a batch (--batch FILE)"));
    checkRequest(request);
    readText(parser, request);
    return parsed;
}

} // namespace sorvel::render_command

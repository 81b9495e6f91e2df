// sorvel-render as a program: help and version, where the text comes from, what it writes, and
// that every failure is one line on standard error, a non-zero status and no file left behind.
#include "RenderCommandProcess.h"

#include <QTemporaryDir>

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

using namespace sorvel::test;

namespace {

// Run in the child before it starts: files larger than 200 bytes fail as on a full disk, and
// the file size signal has its default action, which would end a program that does not guard
// against it.
void diskFullAt200Bytes()
{
    std::signal(SIGXFSZ, SIG_DFL);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = 200;
    setrlimit(RLIMIT_FSIZE, &limit);
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace

class RenderCommandTest : public QObject {
    Q_OBJECT
private slots:
    void helpAndVersionGoToStandardOutput()
    {
        const QString usage = QStringLiteral("^Usage: sorvel-render \\[options\\] \\[text\\]\n");
        const QString version = QStringLiteral("^sorvel-render \\d+\\.\\d+\\.\\d+\n$");
        for (const auto& [option, pattern] :
             {std::pair{"--help", usage}, {"-h", usage}, {"--version", version}, {"-v", version}}) {
            const RenderCommandRun run = runRenderCommand({QString::fromLatin1(option)});
            QVERIFY2(run.exitCode == 0 && run.standardError.isEmpty(), option);
            QVERIFY2(QRegularExpression(pattern).match(QString::fromUtf8(run.standardOutput)).hasMatch(),
                     run.standardOutput.constData());
        }
    }

    // Usage errors end with status 2, others with 1. Rows without "-o" write to {dir}/out.png,
    // except the one about its absence; standard input holds Shift JIS bytes.
    void failuresAreOneLineAndLeaveNoFile_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("says");
        QTest::newRow("unknown option") << QStringList{"--nope", "x"} << 2 << "Unknown option 'nope'";
        QTest::newRow("unknown option with a CR") << QStringList{"-\rcolor", "x"} << 2 << "Unknown option '\\rcolor'";
        QTest::newRow("missing value") << QStringList{"x", "--size"} << 2 << "Missing value after '--size'";
        QTest::newRow("no output") << QStringList{"x"} << 2 << "no output given";
        QTest::newRow("ending without a format") << QStringList{"-o", "{dir}/out.tiff", "x"} << 2 << "'{dir}/out.tiff'";
        QTest::newRow("line breaks in a name")
            << QStringList{"-o", "{dir}/a\nb\r.tiff", "x"} << 2 << "'{dir}/a\\nb\\r.tiff'";
        QTest::newRow("colour past the palette") << QStringList{"--color", "16", "x"} << 2 << "--color: '16'";
        for (const char* colour :
             {" 3", "007", "\xef\xbc\x93", "#+F8000", "#F800"}) // blank, zeros, full-width 3, signed hex, short hex
            QTest::addRow("background %s", colour) << QStringList{"--background", QString::fromUtf8(colour), "x"} << 2
                                                   << QStringLiteral("'%1' is neither").arg(QString::fromUtf8(colour));
        QTest::newRow("size too large") << QStringList{"--size", "2161", "x"} << 2 << "up to 2160 points";
        QTest::newRow("size a word") << QStringList{"--size", "big", "x"} << 2 << "not a number";
        QTest::newRow("quality above 255")
            << QStringList{"-o", "{dir}/a.jpg", "--quality", "256", "x"} << 2 << "from 1 to 255";
        QTest::newRow("picture missing") << QStringList{"--picture", "{dir}/none.png", "x"} << 1 << "no such file";
        QTest::newRow("picture damaged") << QStringList{"--picture", "{dir}/text.bmp", "x"} << 1
                                         << "not a BMP or JPEG picture";
        QTest::newRow("font not installed")
            << QStringList{"--font", "No Such Face", "x"} << 1 << "font 'No Such Face' is not installed";
        QTest::newRow("text file missing")
            << QStringList{"--text-file", "{dir}/none.txt"} << 1 << "cannot read '{dir}/none.txt'";
        QTest::newRow("standard input not UTF-8")
            << QStringList{"--text-file", "-"} << 1 << "standard input is not UTF-8";
        QTest::newRow("output folder missing")
            << QStringList{"-o", "{dir}/no/out.png", "x"} << 1 << "cannot write '{dir}/no/out.png'";
        QTest::newRow("output is a folder")
            << QStringList{"-o", "{dir}/folder.png", "x"} << 1 << "a folder has that name";
    }
    void failuresAreOneLineAndLeaveNoFile()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, says);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.png")));
        QVERIFY(writeFile(dir.filePath(QStringLiteral("text.bmp")), "BM but not a picture at all"));
        const QStringList before = filesIn(dir.path());

        if (!arguments.contains(QStringLiteral("-o")) && QTest::currentDataTag() != QByteArray("no output"))
            arguments = QStringList{"-o", "{dir}/out.png"} + arguments;
        const RenderCommandRun run =
            runRenderCommand(arguments.replaceInStrings(QStringLiteral("{dir}"), dir.path()), "\x82\xa0\x82\xa2");
        QCOMPARE(run.exitCode, status);
        QVERIFY(run.standardOutput.isEmpty());
        QCOMPARE(run.errorLines().size(), 1);
        QVERIFY2(run.errorLines().first().startsWith(QStringLiteral("sorvel-render: ")) &&
                     run.errorLines().first().contains(says.replace(QStringLiteral("{dir}"), dir.path())),
                 run.standardError.constData());
        QCOMPARE(filesIn(dir.path()), before);
    }

    // A disk that fills up during the write: the old file stays as it was, nothing else is left
    // in its folder, and the program does not die of the file size signal.
    void fullDiskKeepsTheOldFile()
    {
        for (const QString name : {"old.png", "old.jpg", "old.bmp"}) {
            QTemporaryDir dir;
            const QString path = dir.filePath(name);
            QVERIFY(writeFile(path, "the old picture"));
            const RenderCommandRun run = runRenderCommand({"-o", path, QString(300, u'W')}, {},
                                                          QProcessEnvironment::systemEnvironment(), diskFullAt200Bytes);
            QCOMPARE(run.exitCode, 1);
            QCOMPARE(run.errorLines(), QStringList{run.errorLines().value(0)});
            QVERIFY(run.errorLines().first().startsWith(QStringLiteral("sorvel-render: cannot write '") + path));
            QCOMPARE(fileBytes(path), QByteArray("the old picture"));
            QCOMPARE(filesIn(dir.path()), QStringList{name});
        }
    }

    // A new file that the disk cannot take is not left behind half written, and the name stays
    // free.
    void fullDiskLeavesNoNewFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("new.png"));
        const RenderCommandRun run = runRenderCommand({"-o", path, QString(300, u'W')}, {},
                                                      QProcessEnvironment::systemEnvironment(), diskFullAt200Bytes);
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.errorLines().size(), 1);
        QVERIFY(filesIn(dir.path()).isEmpty());
    }

    // A replaced file keeps its permissions, also through a symbolic link, which stays a link;
    // a new file gets those the umask allows.
    void permissionsOfTheWrittenFile()
    {
        QTemporaryDir dir;
        const QString old = dir.filePath(QStringLiteral("old.png"));
        const QString link = dir.filePath(QStringLiteral("link.png"));
        QVERIFY(writeFile(old, "old") && QFile::link(old, link));
        const auto ownerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
        QVERIFY(QFile::setPermissions(old, ownerOnly));
        QCOMPARE(runRenderCommand({"-o", link, "linked"}).exitCode, 0);
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(fileBytes(old), runRenderCommand({"-o", "-", "linked"}).standardOutput);
        QCOMPARE(QFile::permissions(old), ownerOnly);

        const QString fresh = dir.filePath(QStringLiteral("new.bmp"));
        const auto groupReads = [] { umask(027); };
        QCOMPARE(
            runRenderCommand({"-o", fresh, "x"}, {}, QProcessEnvironment::systemEnvironment(), groupReads).exitCode, 0);
        QCOMPARE(QFile::permissions(fresh), ownerOnly | QFile::ReadGroup);
    }

    // The name's ending chooses the format, and "-" writes PNG to standard output: a PNG file
    // holds the very same bytes, a bitmap the same picture; --quality reaches the JPEG encoder.
    void formatFollowsTheName()
    {
        QTemporaryDir dir;
        const QByteArray png = runRenderCommand({"-o", "-", "--", "-Format"}).standardOutput;
        for (const auto& [name, signature] :
             {std::pair{"a.PNG", "\x89PNG\r\n\x1a\n"}, {"a.bmp", "BM"}, {"a.gif", "BM"}, {"a.Jpg", "\xff\xd8\xff"}}) {
            const QString path = dir.filePath(QString::fromLatin1(name));
            QVERIFY(writeFile(path, "an older file of that name"));
            const RenderCommandRun run = runRenderCommand({"-o", path, "--", "-Format"});
            QVERIFY2(run.exitCode == 0 && run.standardOutput.isEmpty() && run.standardError.isEmpty(), name);
            QVERIFY2(fileBytes(path).startsWith(signature), name);
            if (*signature != '\xff')
                QCOMPARE(QImage::fromData(fileBytes(path)).convertToFormat(QImage::Format_RGB32), canvasImageOf(png));
        }
        QCOMPARE(fileBytes(dir.filePath(QStringLiteral("a.PNG"))), png);

        const auto jpeg = [&](const QStringList& quality) { // --quality reaches the encoder, 50 if not given
            const QString path = dir.filePath(QStringLiteral("q.jpg"));
            return runRenderCommand(QStringList{"--rainbow", "-o", path, "Quality"} + quality).exitCode == 0
                       ? fileBytes(path)
                       : QByteArray();
        };
        QVERIFY(jpeg({"--quality", "5"}).size() < jpeg({"--quality", "95"}).size());
        QCOMPARE(jpeg({}), jpeg({"--quality", "50"}));
    }

    // The same text from every source gives the same picture, with every kind of line break;
    // one line end closing the text is no empty last line. The reference is drawn with no
    // display and no runtime folder.
    void textFromEverySourceIsTheSame()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("text.txt"));
        QVERIFY(writeFile(file, "\xef\xbb\xbfTwo\nlines \xe6\x97\xa5\xe6\x9c\xac\n")); // with a byte order mark
        QProcessEnvironment headless = QProcessEnvironment::systemEnvironment();
        for (const QString name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR"})
            headless.remove(name);
        const RenderCommandRun reference = runRenderCommand({"-o", "-", "Two\r\nlines 日本"}, {}, headless);
        QVERIFY2(reference.exitCode == 0 && reference.standardError.isEmpty(), reference.standardError.constData());
        QCOMPARE(canvasImageOf(reference.standardOutput).height(),
                 2 * canvasImageOf(runRenderCommand({"-o", "-", "Two"}).standardOutput).height());
        for (const auto& [arguments, input] :
             {std::pair{QStringList{"Two\nlines 日本"}, QByteArray()},
              {QStringList{"Two\rlines 日本"}, QByteArray()},
              {QStringList{}, QByteArray("Two\r\nlines \xe6\x97\xa5\xe6\x9c\xac\r\n")},
              {QStringList{"--text-file", file}, QByteArray()},
              {QStringList{"--text-file", "-"}, QByteArray("Two\nlines \xe6\x97\xa5\xe6\x9c\xac")}}) {
            const RenderCommandRun run = runRenderCommand(QStringList{"-o", "-"} + arguments, input);
            QVERIFY2(run.exitCode == 0 && run.standardError.isEmpty() && run.standardOutput == reference.standardOutput,
                     qPrintable(arguments.join(u' ') + QString::fromUtf8(input)));
        }
    }
};

QTEST_MAIN(RenderCommandTest)
#include "tst_render_command.moc"

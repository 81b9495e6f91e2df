// sorvel-render as a program: help and version, where the text comes from, what it writes, and
// that every failure is one line on standard error, a non-zero status and no file left behind.
#include "RenderCommandProcess.h"

#include <QTemporaryDir>

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

using namespace sorvel::test;

namespace {

constexpr int failed = 1;
constexpr int usageError = 2;

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class RenderCommandTest : public QObject {
    Q_OBJECT
private slots:
    void helpAndVersionGoToStandardOutput()
    {
        const QString usage = QStringLiteral("^Usage: sorvel-render \\[options\\] \\[text\\]\n");
        const QString version = QStringLiteral("^sorvel-render \\d+\\.\\d+\\.\\d+\n$");
        for (const auto& [option, pattern] : {std::pair{"--help", usage}, {"-h", usage}, {"--version", version}, {"-v", version}}) {
            const RenderCommandRun run = runRenderCommand({QString::fromLatin1(option)});
            QCOMPARE(run.exitCode, 0);
            QVERIFY(run.standardError.isEmpty());
            const QString out = QString::fromUtf8(run.standardOutput);
            QVERIFY2(QRegularExpression(pattern).match(out).hasMatch(), qPrintable(out));
            if (pattern == usage)
                for (const char* name : {"--output", "--text-file", "--font", "--size", "--bold", "--italic",
                                         "--underline", "--strike", "--color", "--background", "--picture",
                                         "--shadow", "--rainbow", "--frame", "--quality"})
                    QVERIFY2(out.contains(QLatin1String(name)), name);
        }
    }

    void failuresAreOneLineAndLeaveNoFile_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("says");
        const QByteArray none;
        const QString out = QStringLiteral("{dir}/out.png");
        QTest::newRow("unknown option") << QStringList{"--nope", "-o", out, "x"} << none << usageError << "Unknown option 'nope'";
        QTest::newRow("missing value") << QStringList{"-o", out, "x", "--size"} << none << usageError << "Missing value after '--size'";
        QTest::newRow("no output") << QStringList{"x"} << none << usageError << "no output given";
        QTest::newRow("ending without a format") << QStringList{"-o", "{dir}/out.jpeg", "x"} << none << usageError << "'{dir}/out.jpeg'";
        QTest::newRow("two texts") << QStringList{"-o", out, "a", "b"} << none << usageError << "2 arguments";
        QTest::newRow("text and text file") << QStringList{"-o", out, "--text-file", "{dir}/t", "a"} << none << usageError << "given twice";
        QTest::newRow("colour past the palette") << QStringList{"-o", out, "--color", "16", "x"} << none << usageError << "--color: '16'";
        QTest::newRow("size zero") << QStringList{"-o", out, "--size", "0", "x"} << none << usageError << "--size: '0'";
        QTest::newRow("size a word") << QStringList{"-o", out, "--size", "big", "x"} << none << usageError << "not a number";
        QTest::newRow("quality zero") << QStringList{"-o", "{dir}/a.jpg", "--quality", "0", "x"} << none << usageError << "--quality: '0'";
        QTest::newRow("quality above 255") << QStringList{"-o", "{dir}/a.jpg", "--quality", "256", "x"} << none << usageError << "from 1 to 255";
        QTest::newRow("picture of no background type") << QStringList{"-o", out, "--picture", "{dir}/p.gif", "x"} << none << usageError << "must end in .bmp, .jpg or .png";
        QTest::newRow("picture missing") << QStringList{"-o", out, "--picture", "{dir}/none.png", "x"} << none << failed << "no such file";
        QTest::newRow("picture is text") << QStringList{"-o", out, "--picture", "{dir}/text.png", "x"} << none << failed << "not a PNG picture";
        QTest::newRow("picture claims 60000 pixels a side") << QStringList{"-o", out, "--picture", "{dir}/huge.bmp", "x"} << none << failed << "larger than 32767";
        QTest::newRow("picture is a folder") << QStringList{"-o", out, "--picture", "{dir}/folder.jpg", "x"} << none << failed << "not a regular file";
        QTest::newRow("font not installed") << QStringList{"-o", out, "--font", "No Such Face", "x"} << none << failed << "font 'No Such Face' is not installed";
        QTest::newRow("text file missing") << QStringList{"-o", out, "--text-file", "{dir}/none.txt"} << none << failed << "cannot read '{dir}/none.txt'";
        QTest::newRow("standard input not UTF-8") << QStringList{"-o", out} << QByteArray("\x82\xa0\x82\xa2") << failed << "standard input is not UTF-8";
        QTest::newRow("empty text") << QStringList{"-o", out, ""} << none << failed << "empty picture";
        QTest::newRow("output folder missing") << QStringList{"-o", "{dir}/no/out.png", "x"} << none << failed << "cannot write '{dir}/no/out.png'";
        QTest::newRow("output is a folder") << QStringList{"-o", "{dir}/folder.png", "x"} << none << failed << "a folder has that name";
    }
    void failuresAreOneLineAndLeaveNoFile()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(int, status);
        QFETCH(QString, says);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.png")) && QDir(dir.path()).mkdir(QStringLiteral("folder.jpg")));
        QVERIFY(writeFile(dir.filePath(QStringLiteral("text.png")), "not a picture at all"));
        QImage tile(8, 8, QImage::Format_RGB32);
        tile.fill(Qt::darkCyan);
        QVERIFY(tile.save(dir.filePath(QStringLiteral("whole.bmp"))));
        QByteArray bmp = fileBytes(dir.filePath(QStringLiteral("whole.bmp")));
        const char side[4] = {'\x60', '\xEA', '\0', '\0'};   // header width and height: 60000
        QVERIFY(writeFile(dir.filePath(QStringLiteral("huge.bmp")), bmp.replace(18, 4, side, 4).replace(22, 4, side, 4)));
        const QStringList before = filesIn(dir.path());

        const RenderCommandRun run = runRenderCommand(arguments.replaceInStrings(QStringLiteral("{dir}"), dir.path()), input);
        QCOMPARE(run.exitCode, status);
        QVERIFY(run.standardOutput.isEmpty());
        const QStringList lines = run.errorLines();
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines.first().startsWith(QStringLiteral("sorvel-render: ")), qPrintable(lines.first()));
        QVERIFY2(lines.first().contains(says.replace(QStringLiteral("{dir}"), dir.path())), qPrintable(lines.first()));
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
            const auto fullDisk = [] {
                std::signal(SIGXFSZ, SIG_DFL);
                rlimit limit{};
                getrlimit(RLIMIT_FSIZE, &limit);
                limit.rlim_cur = 200;
                setrlimit(RLIMIT_FSIZE, &limit);
            };
            const RenderCommandRun run = runRenderCommand({QStringLiteral("-o"), path, QString(300, u'W')}, {},
                                                          QProcessEnvironment::systemEnvironment(), fullDisk);
            QCOMPARE(run.exitCode, failed);
            QCOMPARE(run.errorLines().size(), 1);
            QVERIFY(run.errorLines().first().startsWith(QStringLiteral("sorvel-render: cannot write '") + path));
            QCOMPARE(fileBytes(path), QByteArray("the old picture"));
            QCOMPARE(filesIn(dir.path()), QStringList{name});
        }
    }

    // A replaced file keeps its permissions, also through a symbolic link, which stays a link;
    // a new file gets those the umask allows.
    void permissionsOfTheWrittenFile()
    {
        QTemporaryDir dir;
        const QString old = dir.filePath(QStringLiteral("old.png"));
        QVERIFY(writeFile(old, "old"));
        const auto ownerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
        QVERIFY(QFile::setPermissions(old, ownerOnly));
        QCOMPARE(runRenderCommand({"-o", old, "x"}).exitCode, 0);
        QCOMPARE(QFile::permissions(old), ownerOnly);

        const QString fresh = dir.filePath(QStringLiteral("new.bmp"));
        QCOMPARE(runRenderCommand({"-o", fresh, "x"}, {}, QProcessEnvironment::systemEnvironment(), [] { umask(027); })
                     .exitCode, 0);
        QCOMPARE(QFile::permissions(fresh), ownerOnly | QFile::ReadGroup);

        const QString link = dir.filePath(QStringLiteral("link.png"));
        QVERIFY(QFile::link(old, link));
        QCOMPARE(runRenderCommand({"-o", link, "linked"}).exitCode, 0);
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(canvasImageOf(old), canvasImageOf(runRenderCommand({"-o", "-", "linked"}).standardOutput));
        QCOMPARE(QFile::permissions(old), ownerOnly);
        QCOMPARE(filesIn(dir.path()), QStringList({"link.png", "new.bmp", "old.png"}));
    }

    // The name's ending chooses the format; a lossless file holds the picture "-" writes as PNG
    // to standard output, a PNG file the very same bytes.
    void formatFollowsTheName()
    {
        const QStringList options{"--shadow", "--frame", "--", "-Format"};
        const QByteArray png = runRenderCommand(QStringList{"-o", "-"} + options).standardOutput;
        for (const auto& [name, signature] : {std::pair{"a.PNG", "\x89PNG\r\n\x1a\n"}, {"a.bmp", "BM"},
                                              {"a.gif", "BM"}, {"a.Jpg", "\xff\xd8\xff"}}) {
            QTemporaryDir dir;
            const QString path = dir.filePath(QString::fromLatin1(name));
            QVERIFY(writeFile(path, "an older file of that name"));
            const RenderCommandRun run = runRenderCommand(QStringList{"-o", path} + options);
            QCOMPARE(run.exitCode, 0);
            QVERIFY(run.standardOutput.isEmpty() && run.standardError.isEmpty());
            QVERIFY2(fileBytes(path).startsWith(signature), name);
            QCOMPARE(filesIn(dir.path()), QStringList{QString::fromLatin1(name)});
            if (path.endsWith(QStringLiteral("PNG")))
                QCOMPARE(fileBytes(path), png);
            else if (path.endsWith(QStringLiteral("bmp")) || path.endsWith(QStringLiteral("gif")))
                QCOMPARE(QImage::fromData(fileBytes(path)).convertToFormat(QImage::Format_RGB32), canvasImageOf(png));
        }
    }

    void jpegQualityReachesTheEncoder()
    {
        QTemporaryDir dir;
        const QString text = QStringLiteral("Quality matters for photographs and for text");
        qint64 previous = 0;
        for (const QString quality : {"5", "50", "95"}) {
            const QString path = dir.filePath(QStringLiteral("q%1.jpg").arg(quality));
            QCOMPARE(runRenderCommand({"--rainbow", "--quality", quality, "-o", path, text}).exitCode, 0);
            QVERIFY(QFileInfo(path).size() > previous);
            previous = QFileInfo(path).size();
        }
        // Without --quality the writer gets 50.
        const QString byDefault = dir.filePath(QStringLiteral("default.jpg"));
        QCOMPARE(runRenderCommand({"--rainbow", "-o", byDefault, text}).exitCode, 0);
        QCOMPARE(fileBytes(byDefault), fileBytes(dir.filePath(QStringLiteral("q50.jpg"))));
    }

    // The same text from every source gives the same picture, with every kind of line break;
    // one line end closing the text is no empty last line.
    void textFromEverySourceIsTheSame_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("argument with LF") << QStringList{"Two\nlines 日本"} << QByteArray() << QByteArray();
        QTest::newRow("argument with CR") << QStringList{"Two\rlines 日本"} << QByteArray() << QByteArray();
        QTest::newRow("standard input, CR LF and a final line end")
            << QStringList() << QByteArray("Two\r\nlines \xe6\x97\xa5\xe6\x9c\xac\r\n") << QByteArray();
        QTest::newRow("text file with a byte order mark") << QStringList{"--text-file", "{dir}/text.txt"}
            << QByteArray() << QByteArray("\xef\xbb\xbfTwo\nlines \xe6\x97\xa5\xe6\x9c\xac\n");
        QTest::newRow("text file -") << QStringList{"--text-file", "-"}
            << QByteArray("Two\nlines \xe6\x97\xa5\xe6\x9c\xac") << QByteArray();
    }
    void textFromEverySourceIsTheSame()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, file);
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath(QStringLiteral("text.txt")), file));
        const RenderCommandRun run = runRenderCommand((QStringList{"-o", "-"} + arguments).replaceInStrings(QStringLiteral("{dir}"), dir.path()), input);
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.standardError.isEmpty());
        QCOMPARE(run.standardOutput, runRenderCommand({"-o", "-", "Two\r\nlines 日本"}).standardOutput);
        QCOMPARE(canvasImageOf(run.standardOutput).height(),
                 2 * canvasImageOf(runRenderCommand({"-o", "-", "Two"}).standardOutput).height());
    }

    // Every argument belongs to the command, also those Qt would take for its own.
    void textsThatLookLikeQtOptionsAreTexts()
    {
        for (const QString text : {"-reverse", "-platform", "--"}) {
            const RenderCommandRun run = runRenderCommand({"-o", "-", "--", text});
            QCOMPARE(run.exitCode, 0);
            QCOMPARE(run.standardOutput, runRenderCommand({"-o", "-"}, text.toUtf8()).standardOutput);
        }
    }

    void fontNamesMatchRegardlessOfCase()
    {
        const RenderCommandRun exact = runRenderCommand({"-o", "-", "--font", "DejaVu Serif", "Face"});
        QCOMPARE(exact.exitCode, 0);
        QCOMPARE(runRenderCommand({"-o", "-", "--font", "dejavu serif", "Face"}).standardOutput, exact.standardOutput);
        QVERIFY(runRenderCommand({"-o", "-", "Face"}).standardOutput != exact.standardOutput);
    }

    // No display, no runtime folder: the picture is written and standard error stays empty.
    void runsWithoutADisplay()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR"})
            environment.remove(name);
        const RenderCommandRun run = runRenderCommand({"-o", "-", "--background", "14", "x"}, {}, environment);
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.standardError.isEmpty(), run.standardError.constData());
        QCOMPARE(canvasImageOf(run.standardOutput).pixel(0, 0), qRgb(255, 255, 0));
    }
};

QTEST_MAIN(RenderCommandTest)
#include "tst_render_command.moc"

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

// The arguments with "{dir}" standing for the test's folder.
QStringList inFolder(QStringList arguments, const QString& folder)
{
    for (QString& argument : arguments)
        argument.replace(QStringLiteral("{dir}"), folder);
    return arguments;
}

QProcessEnvironment withoutDisplay()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR"})
        environment.remove(QString::fromLatin1(name));
    return environment;
}

} // namespace

class RenderCommandTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY2(QFileInfo(renderCommandPath()).isExecutable(), qPrintable(renderCommandPath()));
    }

    void helpAndVersionGoToStandardOutput_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("begins");
        QTest::newRow("--help") << "--help" << "Usage: sorvel-render [options] [text]\n";
        QTest::newRow("-h") << "-h" << "Usage: sorvel-render";
        QTest::newRow("--version") << "--version" << "sorvel-render ";
        QTest::newRow("-v") << "-v" << "sorvel-render ";
    }
    void helpAndVersionGoToStandardOutput()
    {
        QFETCH(QString, option);
        QFETCH(QString, begins);
        const RenderCommandRun run = runRenderCommand({option});
        QVERIFY(run.finished);
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(QString::fromUtf8(run.standardOutput).startsWith(begins), run.standardOutput.constData());
        QVERIFY(run.standardError.isEmpty());
        if (option.contains(QStringLiteral("v"))) {
            static const QRegularExpression versionLine(QStringLiteral("^sorvel-render \\d+\\.\\d+\\.\\d+\n$"));
            QVERIFY(versionLine.match(QString::fromUtf8(run.standardOutput)).hasMatch());
        }
        if (option == QStringLiteral("--help")) {
            for (const char* name : {"--output", "--text-file", "--font", "--size", "--bold", "--italic",
                                     "--underline", "--strike", "--color", "--background", "--picture",
                                     "--shadow", "--rainbow", "--frame", "--quality"})
                QVERIFY2(run.standardOutput.contains(name), name);
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
        QTest::newRow("short hex background") << QStringList{"-o", out, "--background", "#12", "x"} << none << usageError << "--background: '#12'";
        QTest::newRow("size zero") << QStringList{"-o", out, "--size", "0", "x"} << none << usageError << "--size: '0'";
        QTest::newRow("size too large") << QStringList{"-o", out, "--size", "2161", "x"} << none << usageError << "up to 2160 points";
        QTest::newRow("size overflowing") << QStringList{"-o", out, "--size", "1e999", "x"} << none << usageError << "up to 2160 points";
        QTest::newRow("size a word") << QStringList{"-o", out, "--size", "big", "x"} << none << usageError << "not a number";
        QTest::newRow("quality zero") << QStringList{"-o", "{dir}/a.jpg", "--quality", "0", "x"} << none << usageError << "--quality: '0'";
        QTest::newRow("quality above 255") << QStringList{"-o", "{dir}/a.jpg", "--quality", "256", "x"} << none << usageError << "from 1 to 255";
        QTest::newRow("picture of no background type") << QStringList{"-o", out, "--picture", "{dir}/p.gif", "x"} << none << usageError << "must end in .bmp, .jpg or .png";
        QTest::newRow("picture missing") << QStringList{"-o", out, "--picture", "{dir}/none.png", "x"} << none << failed << "no such file";
        QTest::newRow("picture is text") << QStringList{"-o", out, "--picture", "{dir}/text.png", "x"} << none << failed << "not a PNG picture";
        QTest::newRow("picture cut short") << QStringList{"-o", out, "--picture", "{dir}/cut.bmp", "x"} << none << failed << "not a BMP or JPEG picture";
        QTest::newRow("picture claims 60000 pixels a side") << QStringList{"-o", out, "--picture", "{dir}/huge.bmp", "x"} << none << failed << "larger than 32767";
        QTest::newRow("picture is a folder") << QStringList{"-o", out, "--picture", "{dir}/folder.jpg", "x"} << none << failed << "not a regular file";
        QTest::newRow("font not installed") << QStringList{"-o", out, "--font", "No Such Face", "x"} << none << failed << "font 'No Such Face' is not installed";
        QTest::newRow("text file missing") << QStringList{"-o", out, "--text-file", "{dir}/none.txt"} << none << failed << "cannot read '{dir}/none.txt'";
        QTest::newRow("text file not UTF-8") << QStringList{"-o", out, "--text-file", "{dir}/sjis.txt"} << none << failed << "is not UTF-8";
        QTest::newRow("standard input not UTF-8") << QStringList{"-o", out} << QByteArray("\x82\xa0\x82\xa2") << failed << "standard input is not UTF-8";
        QTest::newRow("empty text") << QStringList{"-o", out, ""} << none << failed << "empty picture";
        QTest::newRow("empty standard input") << QStringList{"-o", out} << QByteArray("\n") << failed << "empty picture";
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
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.png")));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.jpg")));
        QVERIFY(writeFile(dir.filePath(QStringLiteral("text.png")), "not a picture at all"));
        QVERIFY(writeFile(dir.filePath(QStringLiteral("sjis.txt")), "\x82\xa0\x82\xa2"));
        QImage tile(8, 8, QImage::Format_RGB32);
        tile.fill(Qt::darkCyan);
        QVERIFY(tile.save(dir.filePath(QStringLiteral("whole.bmp"))));
        QByteArray bmp = fileBytes(dir.filePath(QStringLiteral("whole.bmp")));
        QVERIFY(writeFile(dir.filePath(QStringLiteral("cut.bmp")), bmp.left(30)));
        // Width and height in the header: 60000 x 60000.
        const char side[4] = {'\x60', '\xEA', '\0', '\0'};
        bmp.replace(18, 4, side, 4);
        bmp.replace(22, 4, side, 4);
        QVERIFY(writeFile(dir.filePath(QStringLiteral("huge.bmp")), bmp));
        const QStringList before = filesIn(dir.path());

        const RenderCommandRun run = runRenderCommand(inFolder(arguments, dir.path()), input);
        QVERIFY(run.finished);
        QCOMPARE(run.exitCode, status);
        QVERIFY(run.standardOutput.isEmpty());
        const QStringList lines = run.errorLines();
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines.first().startsWith(QStringLiteral("sorvel-render: ")), qPrintable(lines.first()));
        QVERIFY2(lines.first().contains(says.replace(QStringLiteral("{dir}"), dir.path())),
                 qPrintable(lines.first()));
        QCOMPARE(filesIn(dir.path()), before);
    }

    // A disk that fills up during the write: the old file stays as it was, and nothing else is
    // left in its folder. The program itself must not die of the file size signal.
    void fullDiskKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("png") << "old.png";
        QTest::newRow("jpeg") << "old.jpg";
        QTest::newRow("bitmap") << "old.bmp";
    }
    void fullDiskKeepsTheOldFile()
    {
        QFETCH(QString, name);
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
        const RenderCommandRun run = runRenderCommand(
            {QStringLiteral("-o"), path, QString(300, u'W')}, {}, QProcessEnvironment::systemEnvironment(), fullDisk);
        QVERIFY2(run.finished, "ended by a signal");
        QCOMPARE(run.exitCode, failed);
        QCOMPARE(run.errorLines().size(), 1);
        QVERIFY(run.errorLines().first().startsWith(QStringLiteral("sorvel-render: cannot write '") + path));
        QCOMPARE(fileBytes(path), QByteArray("the old picture"));
        QCOMPARE(filesIn(dir.path()), QStringList{name});
    }

    // A replaced file keeps its permissions; a new one gets those the umask allows.
    void permissionsOfTheWrittenFile()
    {
        QTemporaryDir dir;
        const QString old = dir.filePath(QStringLiteral("old.png"));
        QVERIFY(writeFile(old, "old"));
        const auto ownerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
        QVERIFY(QFile::setPermissions(old, ownerOnly));
        QCOMPARE(runRenderCommand({QStringLiteral("-o"), old, QStringLiteral("x")}).exitCode, 0);
        QCOMPARE(QFile::permissions(old), ownerOnly);

        const QString fresh = dir.filePath(QStringLiteral("new.bmp"));
        const auto groupReads = [] { umask(027); };
        QCOMPARE(runRenderCommand({QStringLiteral("-o"), fresh, QStringLiteral("x")}, {},
                                  QProcessEnvironment::systemEnvironment(), groupReads).exitCode, 0);
        QCOMPARE(QFile::permissions(fresh), ownerOnly | QFile::ReadGroup);
        QCOMPARE(filesIn(dir.path()), QStringList({"new.bmp", "old.png"}));

        // Through a symbolic link: the link stays, the file it leads to gets the picture.
        const QString link = dir.filePath(QStringLiteral("link.png"));
        QVERIFY(QFile::link(old, link));
        QCOMPARE(runRenderCommand({QStringLiteral("-o"), link, QStringLiteral("linked")}).exitCode, 0);
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(canvasImageOf(old), canvasImageOf(runRenderCommand({"-o", "-", "linked"}).standardOutput));
        QCOMPARE(QFile::permissions(old), ownerOnly);
    }

    void formatFollowsTheName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("signature");
        QTest::newRow("png") << "a.png" << QByteArray("\x89PNG\r\n\x1a\n");
        QTest::newRow("PNG in capitals") << "a.PNG" << QByteArray("\x89PNG\r\n\x1a\n");
        QTest::newRow("bitmap") << "a.bmp" << QByteArray("BM");
        QTest::newRow("gif name, bitmap bytes") << "a.gif" << QByteArray("BM");
        QTest::newRow("jpeg") << "a.Jpg" << QByteArray("\xff\xd8\xff");
    }
    void formatFollowsTheName()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, signature);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        QVERIFY(writeFile(path, "an older file of that name"));
        const RenderCommandRun run = runRenderCommand({QStringLiteral("-o"), path, QStringLiteral("Format")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.standardError.isEmpty());
        QVERIFY(fileBytes(path).startsWith(signature));
        QCOMPARE(filesIn(dir.path()), QStringList{name});
        if (signature.startsWith("\xff"))
            return;   // lossy
        const RenderCommandRun png = runRenderCommand({QStringLiteral("-o"), QStringLiteral("-"), QStringLiteral("Format")});
        QCOMPARE(QImage::fromData(fileBytes(path)).convertToFormat(QImage::Format_RGB32), canvasImageOf(png.standardOutput));
    }

    void jpegQualityReachesTheEncoder()
    {
        QTemporaryDir dir;
        const QString text = QStringLiteral("Quality matters for photographs and for text");
        qint64 previous = 0;
        for (const char* quality : {"5", "50", "95"}) {
            const QString path = dir.filePath(QStringLiteral("q%1.jpg").arg(quality));
            const RenderCommandRun run = runRenderCommand({QStringLiteral("--rainbow"), QStringLiteral("--quality"),
                                                           QString::fromLatin1(quality), QStringLiteral("-o"), path, text});
            QCOMPARE(run.exitCode, 0);
            QVERIFY(QFileInfo(path).size() > previous);
            previous = QFileInfo(path).size();
        }
        // Without --quality the writer gets 50.
        const QString byDefault = dir.filePath(QStringLiteral("default.jpg"));
        QCOMPARE(runRenderCommand({QStringLiteral("--rainbow"), QStringLiteral("-o"), byDefault, text}).exitCode, 0);
        QCOMPARE(fileBytes(byDefault), fileBytes(dir.filePath(QStringLiteral("q50.jpg"))));
    }

    // The same text from every source gives the same picture: the argument, a file, standard
    // input, and "-" as the file; every kind of line break; one line end closing a file.
    void textFromEverySourceIsTheSame_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("file");
        const QStringList toStdout{"-o", "-"};
        QTest::newRow("argument with LF") << (toStdout + QStringList{"Two\nlines 日本"}) << QByteArray() << QByteArray();
        QTest::newRow("argument with CR") << (toStdout + QStringList{"Two\rlines 日本"}) << QByteArray() << QByteArray();
        QTest::newRow("standard input, CR LF and a final line end")
            << toStdout << QByteArray("Two\r\nlines \xe6\x97\xa5\xe6\x9c\xac\r\n") << QByteArray();
        QTest::newRow("text file with a byte order mark")
            << (toStdout + QStringList{"--text-file", "{dir}/text.txt"}) << QByteArray()
            << QByteArray("\xef\xbb\xbfTwo\nlines \xe6\x97\xa5\xe6\x9c\xac\n");
        QTest::newRow("text file -") << (toStdout + QStringList{"--text-file", "-"})
                                     << QByteArray("Two\nlines \xe6\x97\xa5\xe6\x9c\xac") << QByteArray();
    }
    void textFromEverySourceIsTheSame()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, file);
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath(QStringLiteral("text.txt")), file));
        const RenderCommandRun run = runRenderCommand(inFolder(arguments, dir.path()), input);
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.standardError.isEmpty());
        const RenderCommandRun reference =
            runRenderCommand({QStringLiteral("-o"), QStringLiteral("-"), QStringLiteral("Two\r\nlines 日本")});
        QCOMPARE(run.standardOutput, reference.standardOutput);
        // Two lines, not three: the closing line end is no empty last line.
        const RenderCommandRun oneLine =
            runRenderCommand({QStringLiteral("-o"), QStringLiteral("-"), QStringLiteral("Two")});
        QCOMPARE(canvasImageOf(run.standardOutput).height(), 2 * canvasImageOf(oneLine.standardOutput).height());
    }

    void standardOutputHoldsTheFilesBytes()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.png"));
        const QStringList options{"--shadow", "--frame", "--color", "#336699", "--", "-bytes"};
        const RenderCommandRun toFile = runRenderCommand(QStringList{"-o", path} + options);
        const RenderCommandRun toStdout = runRenderCommand(QStringList{"-o", "-"} + options);
        QCOMPARE(toFile.exitCode, 0);
        QCOMPARE(toStdout.exitCode, 0);
        QVERIFY(toFile.standardOutput.isEmpty());
        QCOMPARE(toStdout.standardOutput, fileBytes(path));
    }

    // Every argument belongs to the command, also those Qt would take for its own.
    void textsThatLookLikeQtOptionsAreTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("-reverse") << "-reverse";
        QTest::newRow("-platform") << "-platform";
        QTest::newRow("--") << "--";
    }
    void textsThatLookLikeQtOptionsAreTexts()
    {
        QFETCH(QString, text);
        const RenderCommandRun asArgument = runRenderCommand({"-o", "-", "--", text});
        const RenderCommandRun fromInput = runRenderCommand({"-o", "-"}, text.toUtf8());
        QCOMPARE(asArgument.exitCode, 0);
        QCOMPARE(asArgument.standardOutput, fromInput.standardOutput);
    }

    void fontNamesMatchRegardlessOfCase()
    {
        const RenderCommandRun exact = runRenderCommand({"-o", "-", "--font", "DejaVu Serif", "Face"});
        const RenderCommandRun lower = runRenderCommand({"-o", "-", "--font", "dejavu serif", "Face"});
        const RenderCommandRun byDefault = runRenderCommand({"-o", "-", "Face"});
        QCOMPARE(exact.exitCode, 0);
        QCOMPARE(lower.standardOutput, exact.standardOutput);
        QVERIFY(byDefault.standardOutput != exact.standardOutput);
    }

    // No display, no runtime folder: the picture is written and standard error stays empty.
    void runsWithoutADisplay()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("headless.png"));
        const RenderCommandRun run =
            runRenderCommand({"-o", path, "--background", "14", "No display"}, {}, withoutDisplay());
        QVERIFY(run.finished);
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.standardError.isEmpty(), run.standardError.constData());
        QCOMPARE(canvasImageOf(path).pixel(0, 0), qRgb(255, 255, 0));
    }
};

QTEST_MAIN(RenderCommandTest)
#include "tst_render_command.moc"

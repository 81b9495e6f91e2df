// sorvel-render ends every stream cleanly: an endless text fails at the text limit, a batch
// line over the line limit fails its own job while the batch goes on, and when standard
// output's reader goes away the command begins no further job, leaves only whole files and
// ends with status 1 and one line.
#include "RenderCommandProcess.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

using namespace sorvel::test;

namespace {

constexpr qint64 textLimit = 16LL * 1024 * 1024; // as --help states it

QList<QJsonObject> resultsOf(const QByteArray& output)
{
    QList<QJsonObject> results;
    for (const QByteArray& line : output.split('\n')) {
        if (!line.isEmpty())
            results << QJsonDocument::fromJson(line).object();
    }
    return results;
}

// count small labels writing {dir}/N.png.
QByteArray labelJobs(const QString& dir, int count)
{
    QByteArray lines;
    for (int i = 1; i <= count; ++i)
        lines += QStringLiteral("{\"text\": \"Label %1\", \"output\": \"%2/%1.png\", \"shadow\": true, \"size\": 18}\n")
                     .arg(i)
                     .arg(dir)
                     .toUtf8();
    return lines;
}

// In the new process: standard input from /dev/zero.
void zerosAsInput()
{
    const int zeros = ::open("/dev/zero", O_RDONLY);
    ::dup2(zeros, STDIN_FILENO);
}

// In the new process: standard output a pipe whose reader is already gone.
void outputWithoutReader()
{
    int ends[2];
    if (::pipe(ends) == 0) {
        ::close(ends[0]);
        ::dup2(ends[1], STDOUT_FILENO);
    }
}

// The files of dir besides the job file, each the same bytes as the complete run wrote in
// reference: no file half written, no temporary file left.
void checkEveryFileWhole(const QDir& dir, const QDir& reference)
{
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden)) {
        if (name == u"jobs.jsonl")
            continue;
        QVERIFY2(reference.exists(name), qPrintable("left behind: " + name));
        QCOMPARE(fileBytes(dir.filePath(name)), fileBytes(reference.filePath(name)));
    }
}

} // namespace

class RenderCommandLimitsTest : public QObject {
    Q_OBJECT
private slots:
    void endlessTextFails_data();
    void endlessTextFails();
    void longBatchLineFailsAlone();
    void goneReaderEndsTheRun_data();
    void goneReaderEndsTheRun();
    void headOfBatch();
    void slowProducerIsStreamed_data();
    void slowProducerIsStreamed();
};

void RenderCommandLimitsTest::endlessTextFails_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("fromZeros");
    QTest::addColumn<QString>("errorLine");
    const QString tooLong = QStringLiteral("the text is longer than %1 bytes").arg(textLimit);
    QTest::newRow("--text-file /dev/zero")
        << QStringList{"--text-file", "/dev/zero", "-o", "OUT"} << false << "sorvel-render: '/dev/zero': " + tooLong;
    QTest::newRow("standard input") << QStringList{"-o", "OUT"} << true << "sorvel-render: standard input: " + tooLong;
    QTest::newRow("-o - too") << QStringList{"-o", "-"} << true << "sorvel-render: standard input: " + tooLong;
}

// /dev/zero and `yes` once grew without end; now they fail at once with one line.
void RenderCommandLimitsTest::endlessTextFails()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, fromZeros);
    QFETCH(QString, errorLine);
    QTemporaryDir dir;
    arguments.replaceInStrings(QStringLiteral("OUT"), dir.filePath("out.png"));
    const RenderCommandRun run =
        runRenderCommand(arguments, {}, QProcessEnvironment::systemEnvironment(), fromZeros ? zerosAsInput : nullptr);
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.errorLines(), QStringList{errorLine});
    QVERIFY(run.standardOutput.isEmpty());
    QVERIFY(QDir(dir.path()).isEmpty());
}

// A job line one byte over the limit, and a job whose text file is endless, fail alone; the
// jobs around them are written.
void RenderCommandLimitsTest::longBatchLineFailsAlone()
{
    QTemporaryDir dir;
    const QByteArray overLong = "{\"text\": \"" + QByteArray(textLimit - 30, 'x') + "\", \"output\": \"x.png\"}";
    QCOMPARE(overLong.size(), textLimit + 1);
    const QByteArray batch =
        QStringLiteral("{\"text\": \"one\", \"output\": \"%1/1.png\"}\n").arg(dir.path()).toUtf8() + overLong + '\n' +
        QStringLiteral("{\"text-file\": \"/dev/zero\", \"output\": \"%1/3.png\"}\n"
                       "{\"text\": \"four\", \"output\": \"%1/4.png\"}\n")
            .arg(dir.path())
            .toUtf8();
    const RenderCommandRun run = runRenderCommand({"--batch", "-", "--jobs", "2"}, batch);
    QCOMPARE(run.exitCode, 1);
    const QList<QJsonObject> results = resultsOf(run.standardOutput);
    QCOMPARE(results.size(), 4);
    QCOMPARE(results[1].value("error").toString(), QStringLiteral("the line is longer than %1 bytes").arg(textLimit));
    QCOMPARE(results[2].value("error").toString(),
             QStringLiteral("'/dev/zero': the text is longer than %1 bytes").arg(textLimit));
    QCOMPARE(run.errorLines(), (QStringList{"standard input:2: " + results[1].value("error").toString(),
                                            "standard input:3: " + results[2].value("error").toString()}));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), (QStringList{"1.png", "4.png"}));
    QCOMPARE(results[3].value("line").toInt(), 4);
    // A failed job's result names its output once the line named one.
    QVERIFY(!results[1].contains("output"));
    QCOMPARE(results[2].value("output").toString(), dir.filePath("3.png"));
}

void RenderCommandLimitsTest::goneReaderEndsTheRun_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("jobs");
    QTest::newRow("-o -") << QStringList{"-o", "-", "Label"} << 0;
    QTest::newRow("--list-fonts") << QStringList{"--list-fonts"} << 0;
    QTest::newRow("--batch, one at a time") << QStringList{"--batch", "JOBS", "--jobs", "1"} << 300;
    QTest::newRow("--batch, four at a time") << QStringList{"--batch", "JOBS", "--jobs", "4"} << 300;
}

// As cat or grep: status 1 and one line, and no job begun after the first result was lost.
void RenderCommandLimitsTest::goneReaderEndsTheRun()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, jobs);
    QTemporaryDir dir;
    QTemporaryDir reference;
    if (jobs > 0) {
        QVERIFY(writeFile(dir.filePath("jobs.jsonl"), labelJobs(dir.path(), jobs)));
        QVERIFY(writeFile(reference.filePath("jobs.jsonl"), labelJobs(reference.path(), jobs)));
        QCOMPARE(runRenderCommand({"--batch", reference.filePath("jobs.jsonl")}).exitCode, 0);
        arguments.replaceInStrings(QStringLiteral("JOBS"), dir.filePath("jobs.jsonl"));
    }
    const RenderCommandRun run =
        runRenderCommand(arguments, {}, QProcessEnvironment::systemEnvironment(), outputWithoutReader);
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.errorLines(), QStringList{"sorvel-render: cannot write to standard output: Broken pipe"});
    if (jobs > 0) {
        // The first result is written after a few jobs a thread are under way; none after.
        const int written = QDir(dir.path()).entryList({"*.png"}, QDir::Files).size();
        QVERIFY2(written >= 1 && written <= 4 * 4 + 1, qPrintable(QString::number(written)));
        checkEveryFileWhole(QDir(dir.path()), QDir(reference.path()));
    }
}

// The shell's own case: `sorvel-render --batch big.jsonl | head -1` gets the first result and
// the command's own status is 1, long before the batch's end.
void RenderCommandLimitsTest::headOfBatch()
{
    QTemporaryDir dir;
    QTemporaryDir reference;
    constexpr int jobs = 4000;
    QVERIFY(writeFile(dir.filePath("jobs.jsonl"), labelJobs(dir.path(), jobs)));
    QVERIFY(writeFile(reference.filePath("jobs.jsonl"), labelJobs(reference.path(), jobs)));
    QCOMPARE(runRenderCommand({"--batch", reference.filePath("jobs.jsonl")}).exitCode, 0);

    QProcess shell;
    shell.setWorkingDirectory(dir.path());
    shell.start("bash", {"-c", QStringLiteral("\"%1\" --batch jobs.jsonl | head -1; echo \"${PIPESTATUS[0]}\"")
                                   .arg(QStringLiteral(SORVEL_BINARY_DIR "/sorvel-render"))});
    QVERIFY(shell.waitForFinished(60000));
    const QList<QByteArray> lines = shell.readAllStandardOutput().split('\n');
    QCOMPARE(lines.size(), 3); // the first result, the status, and the end
    QCOMPARE(QJsonDocument::fromJson(lines[0]).object().value("line").toInt(), 1);
    QCOMPARE(lines[1], QByteArray("1"));
    QCOMPARE(shell.readAllStandardError(), QByteArray("sorvel-render: cannot write to standard output: Broken pipe\n"));
    const int written = QDir(dir.path()).entryList({"*.png"}, QDir::Files).size();
    QVERIFY2(written < jobs / 2, qPrintable(QString::number(written)));
    checkEveryFileWhole(QDir(dir.path()), QDir(reference.path()));
}

void RenderCommandLimitsTest::slowProducerIsStreamed_data()
{
    QTest::addColumn<QString>("commandLine");
    QTest::newRow("FIFO") << QStringLiteral("mkfifo jobs; produce > jobs & \"$RENDER\" --batch jobs");
    QTest::newRow("standard input") << QStringLiteral("produce | \"$RENDER\" --batch -");
}

// The producer writes its second job only once the first one's file is there: a batch that
// waited for the end of its input before drawing would never see it.
void RenderCommandLimitsTest::slowProducerIsStreamed()
{
    QFETCH(QString, commandLine);
    QTemporaryDir dir;
    QProcess shell;
    shell.setWorkingDirectory(dir.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("RENDER", QStringLiteral(SORVEL_BINARY_DIR "/sorvel-render"));
    shell.setProcessEnvironment(environment);
    const QString produce =
        QStringLiteral("produce() { echo '{\"text\": \"1\", \"output\": \"1.png\"}';"
                       " for i in $(seq 300); do [ -e 1.png ] && break; sleep 0.1; done;"
                       " [ -e 1.png ] || echo 'the first job was not drawn while its producer waited' >&2;"
                       " echo '{\"text\": \"2\", \"output\": \"2.png\"}'; };");
    shell.start("bash", {"-c", produce + commandLine});
    QVERIFY(shell.waitForFinished(60000));
    QCOMPARE(shell.readAllStandardError(), QByteArray());
    QCOMPARE(shell.exitCode(), 0);
    QCOMPARE(resultsOf(shell.readAllStandardOutput()).size(), 2);
    QCOMPARE(QDir(dir.path()).entryList({"*.png"}, QDir::Files), (QStringList{"1.png", "2.png"}));
}

QTEST_GUILESS_MAIN(RenderCommandLimitsTest)
#include "tst_render_command_limits.moc"

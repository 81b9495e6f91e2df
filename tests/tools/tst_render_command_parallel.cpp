// A batch cut into chunks by GNU parallel, as the README shows it, writes what one batch
// writes: the same files with the same bytes, and the same results (each names its output;
// only the line numbers, which count within a chunk, differ).
#include "RenderCommandProcess.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace sorvel::test;

namespace {

const QString renderCommand = QStringLiteral(SORVEL_BINARY_DIR "/sorvel-render");

// count small labels of a few styles, writing N.png in the working folder.
QByteArray labelJobs(int count)
{
    const QStringList styles{"", ", \"bold\": true", ", \"color\": 12", ", \"frame\": true", ", \"size\": 10"};
    QByteArray lines;
    for (int i = 1; i <= count; ++i)
        lines += QStringLiteral("{\"text\": \"No. %1\", \"output\": \"%1.png\"%2}\n")
                     .arg(i)
                     .arg(styles[i % styles.size()])
                     .toUtf8();
    return lines;
}

// The result lines without their line numbers, sorted.
QStringList resultsWithoutLines(const QByteArray& output)
{
    QStringList results;
    for (const QByteArray& line : output.split('\n')) {
        if (line.isEmpty())
            continue;
        QJsonObject result = QJsonDocument::fromJson(line).object();
        result.remove("line");
        results << QString::fromUtf8(QJsonDocument(result).toJson(QJsonDocument::Compact));
    }
    results.sort();
    return results;
}

// Runs a shell command line in folder; gives its standard output, or the failure.
QByteArray shellOutput(const QString& folder, const QString& commandLine, int& status)
{
    QProcess shell;
    shell.setWorkingDirectory(folder);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("RENDER", renderCommand);
    shell.setProcessEnvironment(environment);
    shell.start("bash", {"-c", commandLine});
    status = shell.waitForFinished(120000) && shell.exitStatus() == QProcess::NormalExit ? shell.exitCode() : -1;
    return shell.readAllStandardOutput();
}

} // namespace

class RenderCommandParallelTest : public QObject {
    Q_OBJECT
private slots:
    void chunksWriteWhatOneBatchWrites()
    {
        // scripts/install-deps installs it: a missing one is a failure, not a reason to skip.
        QVERIFY2(!QStandardPaths::findExecutable("parallel").isEmpty(), "GNU parallel is not installed");
        constexpr int jobs = 2000;
        QTemporaryDir one;
        QTemporaryDir chunks;
        QVERIFY(writeFile(one.filePath("jobs.jsonl"), labelJobs(jobs)));
        QVERIFY(writeFile(chunks.filePath("jobs.jsonl"), labelJobs(jobs)));

        int status = -1;
        const QByteArray oneBatch = shellOutput(one.path(), "\"$RENDER\" --batch jobs.jsonl", status);
        QCOMPARE(status, 0);
        const QByteArray inChunks = shellOutput(
            chunks.path(), "parallel --will-cite --pipe -N 1000 \"$RENDER\" --batch - --jobs 1 < jobs.jsonl", status);
        QCOMPARE(status, 0);

        const QStringList oneResults = resultsWithoutLines(oneBatch);
        QCOMPARE(oneResults.size(), jobs);
        QCOMPARE(resultsWithoutLines(inChunks), oneResults);

        const QStringList files = QDir(one.path()).entryList({"*.png"}, QDir::Files, QDir::Name);
        QCOMPARE(files.size(), jobs);
        QCOMPARE(QDir(chunks.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
                 QDir(one.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name));
        for (const QString& name : files)
            QVERIFY2(fileBytes(one.filePath(name)) == fileBytes(chunks.filePath(name)), qPrintable(name));
    }
};

QTEST_GUILESS_MAIN(RenderCommandParallelTest)
#include "tst_render_command_parallel.moc"

// sorvel-render --batch: one result line per job in input order, each failure on its own line
// naming the batch file and the line, no file for a failed job, and bytes that depend neither
// on --jobs nor on being one job of a batch.
#include "RenderCommandProcess.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

using namespace sorvel::test;

namespace {

QList<QJsonObject> resultsOf(const RenderCommandRun& run)
{
    QList<QJsonObject> results;
    for (const QByteArray& line : run.standardOutput.split('\n')) {
        if (!line.isEmpty())
            results << QJsonDocument::fromJson(line).object();
    }
    return results;
}

// Jobs with every style and effect, Latin and Japanese, writing {dir}/NAME.png.
QList<QJsonObject> mixedJobs(const QString& dir, int count)
{
    const QStringList texts{"Save changes?", "次へ進む Next", "OK ボタン", "Label 12345", "設定を保存しました"};
    const QList<QJsonObject> styles{{},
                                    {{"bold", true}},
                                    {{"italic", true}, {"color", 12}},
                                    {{"shadow", true}},
                                    {{"rainbow", true}, {"size", 18}},
                                    {{"frame", true}, {"background", "#203040"}, {"color", 14}},
                                    {{"underline", true}, {"strike", true}},
                                    {{"width", 60}, {"align", "center"}, {"margin", "2 4"}}};
    QList<QJsonObject> jobs;
    for (int i = 0; i < count; ++i) {
        QJsonObject job = styles[i % styles.size()];
        job.insert("text", texts[i % texts.size()]);
        job.insert("output", QStringLiteral("%1/%2.png").arg(dir).arg(i));
        jobs << job;
    }
    return jobs;
}

QByteArray jsonLines(const QList<QJsonObject>& jobs)
{
    QByteArray lines;
    for (const QJsonObject& job : jobs)
        lines += QJsonDocument(job).toJson(QJsonDocument::Compact) + '\n';
    return lines;
}

// The command-line arguments of one job, as a single run takes them.
QStringList argumentsOf(const QJsonObject& job)
{
    QStringList arguments;
    for (auto it = job.begin(); it != job.end(); ++it) {
        if (it.key() == u"text")
            continue;
        arguments << QStringLiteral("--") + it.key();
        if (!it.value().isBool())
            arguments << it.value().toVariant().toString();
    }
    return arguments << "--" << job.value("text").toString();
}

} // namespace

class RenderBatchTest : public QObject {
    Q_OBJECT
private slots:
    // Good lines are written whatever the bad ones around them do; every line gets its result
    // in order, blank lines none.
    void failuresAreReportedByLine()
    {
        QTemporaryDir dir;
        QByteArray damaged = runRenderCommand({"-o", "-", "png"}).standardOutput;
        damaged[damaged.indexOf("IDAT") + 6] ^= 0x55; // a CRC error, which libpng reports on its own
        QVERIFY(writeFile(dir.filePath("damaged.png"), damaged));
        const QString d = dir.path();
        const QByteArray batch =
            QStringLiteral("\uFEFF{\"text\": \"first\", \"output\": \"%1/1.png\"}\n" // after a byte order mark
                           "\n"
                           "not json\n"
                           "{\"text\": \"x\", \"output\": \"%1/4.png\", \"colour\": 3}\n"
                           "{\"text\": \"x\", \"output\": \"%1/5.png\", \"color\": 16}\n"
                           "{\"text\": \"x\", \"bold\": \"yes\", \"output\": \"%1/6.png\"}\n"
                           "{\"text\": \"no output\"}\n"
                           "{\"text\": \"x\", \"output\": \"%1/missing/8.png\"}\n"
                           "{\"text\": \"x\", \"output\": \"%1/9.png\", \"picture\": \"%1/damaged.png\"}\n"
                           "{\"text\": \"x\", \"output\": \"%1/10.png\", \"font\": \"No Such Face\"}\n"
                           "   \n"
                           "{\"text\": \"last\", \"output\": \"%1/12.jpg\", \"quality\": 90}\n")
                .arg(d)
                .toUtf8();
        QVERIFY(writeFile(dir.filePath("jobs.jsonl"), batch));
        const RenderCommandRun run = runRenderCommand({"--batch", dir.filePath("jobs.jsonl"), "--jobs", "3"});
        QCOMPARE(run.exitCode, 1);

        const QList<QJsonObject> results = resultsOf(run);
        const QList<int> lines{1, 3, 4, 5, 6, 7, 8, 9, 10, 12};
        QCOMPARE(results.size(), lines.size());
        QStringList expectedErrors;
        for (qsizetype i = 0; i < results.size(); ++i) {
            QCOMPARE(results[i].value("line").toInt(), lines[i]);
            const bool good = lines[i] == 1 || lines[i] == 12;
            QCOMPARE(results[i].contains("error"), !good);
            if (good) {
                const QImage written(results[i].value("output").toString());
                QCOMPARE(QSize(results[i].value("width").toInt(), results[i].value("height").toInt()), written.size());
            } else {
                expectedErrors << QStringLiteral("%1:%2: %3")
                                      .arg(dir.filePath("jobs.jsonl"))
                                      .arg(lines[i])
                                      .arg(results[i].value("error").toString());
            }
        }
        QCOMPARE(run.errorLines(), expectedErrors);
        for (const auto& [line, says] : {std::pair{3, "not JSON"},
                                         {4, "unknown key 'colour'"},
                                         {5, "--color: '16'"},
                                         {6, "\"bold\" must be true or false"},
                                         {7, "no output"},
                                         {8, "cannot write"},
                                         {9, "cannot read picture"},
                                         {10, "font 'No Such Face' is not installed"}})
            QVERIFY2(results[lines.indexOf(line)].value("error").toString().contains(QString::fromUtf8(says)), says);
        QCOMPARE(QDir(d).entryList({"*.png", "*.jpg"}, QDir::Files), (QStringList{"1.png", "12.jpg", "damaged.png"}));
    }

    // What libraries print on their own (here fontconfig, without its configuration, and
    // libpng, on a damaged picture) never reaches standard error: only the failed job's line.
    void librariesStayQuiet()
    {
        QTemporaryDir dir;
        QByteArray damaged = runRenderCommand({"-o", "-", "png"}).standardOutput;
        damaged[damaged.indexOf("IDAT") + 6] ^= 0x55;
        QVERIFY(writeFile(dir.filePath("damaged.png"), damaged));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("FONTCONFIG_FILE", dir.filePath("no-such-fonts.conf"));
        const QByteArray batch =
            QStringLiteral("{\"text\": \"x\", \"output\": \"%1/a.png\"}\n"
                           "{\"text\": \"x\", \"output\": \"%1/b.png\", \"picture\": \"%1/damaged.png\"}\n")
                .arg(dir.path())
                .toUtf8();
        const RenderCommandRun run = runRenderCommand({"--batch", "-"}, batch, environment);
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.errorLines().size(), 1);
        QVERIFY2(run.errorLines().first().startsWith("standard input:2: cannot read picture"),
                 run.standardError.constData());
    }

    void unreadableBatchFileEndsWithStatus2()
    {
        QTemporaryDir dir;
        const RenderCommandRun run = runRenderCommand({"--batch", dir.filePath("none.jsonl")});
        QCOMPARE(run.exitCode, 2);
        QCOMPARE(run.errorLines().size(), 1);
        QVERIFY(run.errorLines().first().contains("cannot read"));
        QVERIFY(run.standardOutput.isEmpty());
    }

    // --jobs 1, several and the default write the same bytes, and so does a single run with
    // the job's options; options on the command line are the defaults of every job; a later
    // job for the same file wins as it would one after another.
    void bytesDependOnNothingButTheJob()
    {
        QTemporaryDir dir;
        QList<QJsonObject> jobs = mixedJobs(dir.path(), 48);
        jobs << QJsonObject{{"text", "same file, first"}, {"output", dir.filePath("same.png")}}
             << QJsonObject{{"text", "same file, second"}, {"output", dir.filePath("same.png")}, {"frame", true}};
        QVERIFY(writeFile(dir.filePath("jobs.jsonl"), jsonLines(jobs)));
        const QStringList defaults{"--font", "DejaVu Sans", "--color", "4"};

        QList<QByteArray> first;
        for (const QStringList& jobsOption : {QStringList{"--jobs", "1"}, QStringList{"--jobs", "4"}, QStringList{}}) {
            const RenderCommandRun run =
                runRenderCommand(QStringList{"--batch", dir.filePath("jobs.jsonl")} + defaults + jobsOption);
            QVERIFY2(run.exitCode == 0 && run.standardError.isEmpty(), run.standardError.constData());
            QCOMPARE(resultsOf(run).size(), jobs.size());
            QList<QByteArray> written;
            for (const QJsonObject& job : jobs)
                written << fileBytes(job.value("output").toString());
            QVERIFY(!written.contains(QByteArray()));
            if (first.isEmpty())
                first = written;
            QVERIFY2(written == first, qPrintable(jobsOption.join(u' ')));
        }
        QCOMPARE(first.last(),
                 runRenderCommand(QStringList{"-o", "-", "--frame"} + defaults + QStringList{"same file, second"})
                     .standardOutput);
        for (int i : {0, 1, 2, 4, 5, 7}) {
            QJsonObject job = jobs[i];
            job.insert("output", "-");
            QVERIFY2(first[i] == runRenderCommand(defaults + argumentsOf(job)).standardOutput,
                     qPrintable(argumentsOf(job).join(u' ')));
        }
    }

    // Every name --list-fonts prints (a family's, and its other names after tabs) is one --font
    // takes: all of them in one batch.
    void listedFontsAreAccepted()
    {
        const RenderCommandRun list = runRenderCommand({"--list-fonts"});
        QCOMPARE(list.exitCode, 0);
        const QStringList names = QString::fromUtf8(list.standardOutput)
                                      .split(QRegularExpression(QStringLiteral("[\t\n]")), Qt::SkipEmptyParts);
        QVERIFY(names.contains("DejaVu Sans") && names.contains(QStringLiteral("ＭＳ Ｐゴシック")));
        QTemporaryDir dir;
        QList<QJsonObject> jobs;
        for (qsizetype i = 0; i < names.size(); ++i)
            jobs << QJsonObject{
                {"text", "Aa"}, {"font", names[i]}, {"output", QStringLiteral("%1/%2.png").arg(dir.path()).arg(i)}};
        const RenderCommandRun run = runRenderCommand({"--batch", "-"}, jsonLines(jobs));
        QVERIFY2(run.exitCode == 0 && run.standardError.isEmpty(), run.standardError.constData());
        QCOMPARE(resultsOf(run).size(), names.size());
    }
};

QTEST_MAIN(RenderBatchTest)
#include "tst_render_batch.moc"

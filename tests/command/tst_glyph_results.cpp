// What sorvel-render reports beyond the picture: the characters no font can draw (ignored,
// warned about, or refused with no file written) and the box of every character, in a single
// run's boxes file and in a batch's result lines; and the font's bound of the letter spacing.
#include "command/BatchRun.h"
#include "command/CommandError.h"
#include "command/RenderJob.h"
#include "render/CanvasSurface.h"
#include "render/MeasuringLabel.h"
#include "render/PictureHolder.h"
#include "render/RenderTextImage.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>

using namespace sorvel;
using namespace sorvel::render_command;

namespace {

const QString uncovered = u"\uE000"_qs; // private use: no installed font has a glyph

RenderRequest requestFor(const QString& text, const QString& output)
{
    RenderRequest request;
    request.textSource = RenderRequest::TextSource::Argument;
    request.text = text;
    request.output = output;
    request.color = rgbColor(0, 0, 0);
    request.background = rgbColor(255, 255, 255);
    return request;
}

std::optional<CommandError> failureOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const CommandError& error) {
        return error;
    }
    return std::nullopt;
}

QByteArray contentsOf(std::FILE* stream)
{
    std::fflush(stream);
    std::rewind(stream);
    QByteArray bytes;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, stream)) > 0;)
        bytes.append(buffer, static_cast<qsizetype>(n));
    return bytes;
}

} // namespace

class TestGlyphResults : public QObject {
    Q_OBJECT
private slots:
    void missingCharactersFollowTheChosenHandling();
    void boxesFileHoldsOneBoxPerCharacterWithinThePicture();
    void batchResultsCarryMissingAndBoxes();
    void letterSpacingIsBoundByTheFont();

private:
    QTemporaryDir m_dir;
};

void TestGlyphResults::missingCharactersFollowTheChosenHandling()
{
    const QString output = m_dir.filePath(QStringLiteral("missing.png"));
    RenderRequest request = requestFor(u"a"_qs + uncovered + u"b\u0007"_qs, output);
    QVERIFY(renderRequest(request).missing.isEmpty()); // ignored: not even looked for
    QCOMPARE(renderRequest(request, true).missing, uncovered + u"\u0007"_qs);
    QVERIFY(QFile::remove(output));

    request.missing = RenderRequest::Missing::Warn;
    const RenderResult warned = renderRequest(request);
    QCOMPARE(warned.warning, u"characters no installed font can draw: '\uE000' U+E000, '\\u0007' U+0007"_qs);
    QVERIFY(QFile::exists(output));
    QVERIFY(QFile::remove(output));

    request.missing = RenderRequest::Missing::Error;
    const std::optional<CommandError> error = failureOf([&] { renderRequest(request); });
    QVERIFY(error);
    QCOMPARE(error->status(), Failed);
    QCOMPARE(error->message(), warned.warning);
    QVERIFY(!QFile::exists(output));

    request.text = u"all drawn 字 \U0001F600"_qs;
    QCOMPARE(renderRequest(request).warning, QString());
    QVERIFY(QFile::exists(output));
}

void TestGlyphResults::boxesFileHoldsOneBoxPerCharacterWithinThePicture()
{
    const QString output = m_dir.filePath(QStringLiteral("boxes.png"));
    RenderRequest request = requestFor(u"Ab 字\r\n\U0001F44D\U0001F3FD!"_qs, output);
    request.boxesFile = m_dir.filePath(QStringLiteral("boxes.json"));
    request.margins = {10, 20, 10, 20};
    request.align = LineAlignment::Right;
    const RenderResult result = renderRequest(request);
    QVERIFY(result.boxes.empty()); // the file holds them, not the result
    QFile file(request.boxesFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QJsonObject json = QJsonDocument::fromJson(file.readAll()).object();
    QCOMPARE(json.value(QStringLiteral("output")).toString(), output);
    QCOMPARE(json.value(QStringLiteral("width")).toInt(), result.size.width());
    QVERIFY(!json.contains(QStringLiteral("missing")));
    const QJsonArray boxes = json.value(QStringLiteral("boxes")).toArray();
    QStringList characters;
    for (const QJsonValue& value : boxes) {
        const QJsonArray box = value.toArray();
        QCOMPARE(box.size(), 5);
        const QRect rect(box[0].toInt(), box[1].toInt(), box[2].toInt(), box[3].toInt());
        QVERIFY(QRect(QPoint(0, 0), result.size).contains(rect));
        characters << box[4].toString();
    }
    QCOMPARE(characters, (QStringList{"A", "b", " ", "字", u"\U0001F44D\U0001F3FD"_qs, "!"}));
    // The first line starts after the left margin, the second (right aligned, narrower) ends
    // where the first does, one line lower.
    QCOMPARE(boxes[0].toArray()[0].toInt(), 20);
    QCOMPARE(boxes[0].toArray()[1].toInt(), 10);
    const QJsonArray last = boxes[5].toArray();
    const QJsonArray firstEnd = boxes[3].toArray();
    QVERIFY(qAbs(last[0].toInt() + last[2].toInt() - (firstEnd[0].toInt() + firstEnd[2].toInt())) <= 1);
    QVERIFY(last[1].toInt() > 10);
}

void TestGlyphResults::batchResultsCarryMissingAndBoxes()
{
    const QString batch = m_dir.filePath(QStringLiteral("jobs.jsonl"));
    QFile file(batch);
    QVERIFY(file.open(QIODevice::WriteOnly));
    const auto job = [&](const QString& text, const QString& name, const QString& more) {
        return QStringLiteral("{\"text\": \"%1\", \"output\": \"%2\"%3}\n")
            .arg(text, m_dir.filePath(name), more)
            .toUtf8();
    };
    file.write(job(u"ok"_qs, u"a.png"_qs, {}));
    file.write(job(u"x\\ue000y\\ue000"_qs, u"b.png"_qs, {}));
    file.write(job(u"字 A"_qs, u"c.png"_qs, u", \"boxes\": true, \"letter-spacing\": 4"_qs));
    file.write(job(u"\\ue000"_qs, u"d.png"_qs, u", \"missing\": \"error\""_qs));
    file.close();
    std::FILE* results = std::tmpfile();
    std::FILE* errors = std::tmpfile();
    QVERIFY(results && errors);
    RenderRequest defaults;
    QCOMPARE(runBatch({batch, 1, defaults}, results, errors), int(Failed));
    const QList<QByteArray> lines = contentsOf(results).trimmed().split('\n');
    QCOMPARE(lines.size(), 4);
    std::vector<QJsonObject> objects;
    for (const QByteArray& line : lines)
        objects.push_back(QJsonDocument::fromJson(line).object());
    QVERIFY(!objects[0].contains(QStringLiteral("missing")));
    QVERIFY(!objects[0].contains(QStringLiteral("boxes")));
    QCOMPARE(objects[1].value(QStringLiteral("missing")).toArray(), QJsonArray{uncovered});
    const QJsonArray boxes = objects[2].value(QStringLiteral("boxes")).toArray();
    QCOMPARE(boxes.size(), 3);
    QCOMPARE(boxes[0].toArray()[4].toString(), u"字"_qs);
    // Four pixels of spacing after 字 and after the blank: the blank's box starts after them.
    const QJsonArray wide = boxes[0].toArray();
    QVERIFY(boxes[1].toArray()[0].toInt() >= wide[0].toInt() + wide[2].toInt() + 3);
    QVERIFY(objects[3].value(QStringLiteral("error")).toString().contains(u"U+E000"_qs));
    QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("d.png"))));
    QVERIFY(contentsOf(errors).contains(":4: characters no installed font can draw"));
    std::fclose(results);
    std::fclose(errors);
}

void TestGlyphResults::letterSpacingIsBoundByTheFont()
{
    RenderRequest request = requestFor(u"x"_qs, m_dir.filePath(QStringLiteral("s.png")));
    request.sizeText = QStringLiteral("14"); // 19 pixels
    request.letterSpacing = -9.5;
    QCOMPARE(settingsFor(request, request.text).Layout.letterSpacing, -9.5);
    request.letterSpacing = -9.6;
    const std::optional<CommandError> error = failureOf([&] { settingsFor(request, request.text); });
    QVERIFY(error);
    QCOMPARE(error->message(), u"--letter-spacing: -9.6 is below -9.5, minus half the font's size of 19 pixels"_qs);
    request.sizeText = QStringLiteral("72"); // 96 pixels
    QCOMPARE(settingsFor(request, request.text).Layout.letterSpacing, -9.6);
}

QTEST_MAIN(TestGlyphResults)
#include "tst_glyph_results.moc"

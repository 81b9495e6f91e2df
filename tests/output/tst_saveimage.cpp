// Saving the canvas: the format chosen by the path's ending, the JPEG quality from the prompt's
// answer, failures turned into a message for the user, and the file name proposed from the text.
#include "output/ProposedFileName.h"
#include "output/SaveImage.h"
#include "output/SaveTexts.h"
#include "support/FileSizeLimit.h"

#include <QImageWriter>
#include <QtTest>

using namespace sorvel;

namespace {

QImage makeCanvas(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int i = 0; i < width * height; ++i)
        image.setPixel(i % width, i / width,
                       qRgb(i % width * 4, i / width * 6, (i % width + i / width) % 2 ? 40 : 220));
    return image;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestSaveImage : public QObject {
    Q_OBJECT
private slots:
    // The last four characters, in any case, pick the format (or none). The file holds the top-left
    // part asked for: exactly, or for a JPEG (encoded deterministically) at the quality answered.
    void savedByPathEnding_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("answer");   // to the quality prompt; a null text: no prompt
        QTest::addColumn<QByteArray>("magic"); // start of the file; empty: no file
        QTest::addColumn<int>("quality");
        const QByteArray png("\x89PNG"), jpeg("\xff\xd8\xff"), bitmap("BM");
        QTest::newRow(".PNG") << "文字.PNG" << QString() << png << 0;
        QTest::newRow("exactly the key") << ".png" << QString() << png << 0;
        QTest::newRow(".gif is a bitmap") << "anim.gif" << QString() << bitmap << 0;
        QTest::newRow(".jpeg") << "photo.jpeg"
                               << "80" << QByteArray() << 0;
        QTest::newRow("short") << "bmp" << QString() << QByteArray() << 0;
        const QList<std::pair<const char*, int>> rows{{"\t 75  ", 75}, {"255", 100}, {"50.5", 50},
                                                      {"51.5", 52},    {"0.6", 1},   {"0.4", 0},
                                                      {"255.5", 0},    {"", 0},      {"50%", 0}};
        for (const auto& [answer, quality] : rows)
            QTest::addRow(".Jpg, \"%s\"", answer)
                << "a.Jpg" << QString::fromUtf8(answer) << (quality ? jpeg : QByteArray()) << quality;
        QTest::newRow(".jpg, no prompt") << "a.jpg" << QString() << QByteArray() << 0;
    }
    void savedByPathEnding()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, answer);
        QFETCH(QByteArray, magic);
        QFETCH(int, quality);
        QTemporaryDir dir;
        const QString path = dir.filePath(fileName);
        const QImage canvas = makeCanvas(33, 14), part = canvas.copy(0, 0, 25, 12);
        const auto prompt = answer.isNull() ? JpegQualityPrompt{} : [answer] { return answer; };
        const SaveOutcome outcome = saveImageToFile(canvas, 25, 12, path, prompt);
        QCOMPARE(outcome.status, magic.isEmpty() ? SaveOutcome::Status::NothingWritten : SaveOutcome::Status::Written);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), magic.isEmpty() ? 0 : 1);
        const QByteArray bytes = fileBytes(path);
        QVERIFY(bytes.startsWith(magic));
        if (quality > 0) {
            QBuffer reference;
            QImageWriter writer(&reference, "jpeg");
            writer.setQuality(quality);
            QVERIFY(writer.write(part));
            QCOMPARE(bytes, reference.data());
        } else if (!magic.isEmpty()) {
            QCOMPARE(QImage::fromData(bytes).convertToFormat(QImage::Format_RGB32), part);
        }
    }

    // The message names the path and the reason; the file already there stays as it was.
    void failureIsReported()
    {
        for (const bool fullDisk : {false, true}) {
            QTemporaryDir dir;
            QFile old(dir.filePath(QStringLiteral("保存.png")));
            QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3 && old.flush());
            // Without a full disk, a path whose parent is that file.
            const QString path = fullDisk ? old.fileName() : old.fileName() + QStringLiteral("/保存.png");
            SaveOutcome outcome;
            {
                std::optional<test::FileSizeLimit> limit;
                if (fullDisk)
                    QVERIFY(limit.emplace(64).active());
                outcome = saveImageToFile(makeCanvas(60, 60), 60, 60, path, {});
            }
            const QString reason =
                QString::fromUtf16(fullDisk ? u"書き込み中にエラーが発生しました。" : u"ファイルを作成できません。");
            QCOMPARE(outcome.status, SaveOutcome::Status::Failed);
            QVERIFY2(outcome.message.startsWith(saveFailedHeading + u'\n' + path + u'\n' + reason),
                     qPrintable(outcome.message));
            QCOMPARE(fileBytes(old.fileName()), QByteArray("old"));
        }
    }

    // The text without what no file name may hold, cut between whole characters to 255 UTF-8 bytes.
    void proposedFileName_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("line breaks, slash, NUL and controls left out")
            << QString::fromUtf16(u"一行\r\n目\r二\na/b\0c\td\x1b"
                                  "e\x7f"
                                  "f\x85"
                                  "g",
                                  21)
            << "一行目二abcdefg";
        QTest::newRow("backslash, blanks, dots and emoji kept") << "... a\\b 猫😺"
                                                                << "... a\\b 猫😺";
        QTest::newRow("dot after removal") << "/./"
                                           << "";
        QTest::newRow("ideographic blanks only") << "\u3000 \u3000"
                                                 << "";
        QTest::newRow("lone surrogate dropped") << QString::fromUtf16(u"a\xd800"
                                                                      "b",
                                                                      3)
                                                << "ab";
        QTest::newRow("pair at the cut dropped whole")
            << QString(254, u'a') + QStringLiteral("😀😀") << QString(254, u'a');
        // e + combining acute is one character of 3 bytes: after 253 bytes it goes whole.
        QTest::newRow("combining mark at the cut")
            << QString(253, u'a') + QStringLiteral("e\u0301x") << QString(253, u'a');
        QTest::newRow("line breaks out before the cut") << "\r\n" + QString(300, u'あ') << QString(85, u'あ');
    }
    void proposedFileName()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(sorvel::proposedFileName(text), expected);
    }
};

QTEST_GUILESS_MAIN(TestSaveImage)
#include "tst_saveimage.moc"

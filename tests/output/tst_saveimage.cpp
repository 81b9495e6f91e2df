// Saving the canvas: the format chosen by the path's ending, the JPEG quality from the prompt's
// answer, failures turned into a message for the user, and the file name proposed from the text.
#include "output/ProposedFileName.h"
#include "output/SaveImage.h"
#include "output/SaveTexts.h"
#include "support/FileSizeLimit.h"

#include <QImageWriter>
#include <QtTest>

using namespace sorvel;

Q_DECLARE_METATYPE(sorvel::ImageFormat)

namespace {

QImage makeCanvas(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 4, y * 6, (x + y) % 2 ? 40 : 220));
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
    // The last four characters, in any case, decide; anything else writes nothing.
    void formatFollowsPathEnding_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<ImageFormat>("format");
        QTest::addColumn<QByteArray>("magic");   // start of the file; empty: no file
        const QByteArray png("\x89PNG"), jpeg("\xff\xd8\xff"), bitmap("BM"), none;
        QTest::newRow(".PNG") << "文字.PNG" << ImageFormat::Png << png;
        QTest::newRow("exactly the key") << ".png" << ImageFormat::Png << png;
        QTest::newRow(".Jpg") << "a.Jpg" << ImageFormat::Jpeg << jpeg;
        QTest::newRow(".BMP") << "X.BMP" << ImageFormat::Bitmap << bitmap;
        QTest::newRow(".gif is a bitmap") << "anim.gif" << ImageFormat::Bitmap << bitmap;
        QTest::newRow(".jpeg") << "photo.jpeg" << ImageFormat::None << none;
        QTest::newRow("short") << "bmp" << ImageFormat::None << none;
        QTest::newRow("one character") << "b" << ImageFormat::None << none;
        QTest::newRow("trailing blank") << "a.png " << ImageFormat::None << none;
    }
    void formatFollowsPathEnding()
    {
        QFETCH(QString, fileName);
        QFETCH(ImageFormat, format);
        QFETCH(QByteArray, magic);
        QTemporaryDir dir;
        const QString path = dir.filePath(fileName);
        int asked = 0;
        const SaveOutcome outcome = saveImageToFile(makeCanvas(33, 14), 25, 12, path, [&] {
            ++asked;
            return QStringLiteral("80");
        });
        QCOMPARE(outcome.format, format);
        QCOMPARE(asked, format == ImageFormat::Jpeg ? 1 : 0);
        QVERIFY(outcome.message.isEmpty());
        QCOMPARE(outcome.status, magic.isEmpty() ? SaveOutcome::Status::NothingWritten : SaveOutcome::Status::Written);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty(), magic.isEmpty());
        if (!magic.isEmpty()) {
            QVERIFY(fileBytes(path).startsWith(magic));
            QCOMPARE(QImage(path).size(), QSize(25, 12));   // the top-left part asked for
        }
    }

    void jpegQualityFromPrompt_data()
    {
        QTest::addColumn<QString>("answer");   // a null text: no prompt at all
        QTest::addColumn<int>("sameBytesAsQuality");   // 0: nothing written
        const QList<std::pair<const char*, int>> rows{
            {"50", 50}, {"\t 75  ", 75}, {"1", 1}, {"101", 100}, {"255", 100}, {"50.5", 50}, {"51.5", 52},
            {"0.6", 1}, {"0", 0}, {"0.4", 0}, {"256", 0}, {"255.5", 0}, {"-5", 0}, {"", 0}, {"fine", 0}, {"50%", 0}};
        for (const auto& [answer, quality] : rows)
            QTest::addRow("\"%s\"", answer) << QString::fromUtf8(answer) << quality;
        QTest::newRow("no prompt") << QString() << 0;
    }
    void jpegQualityFromPrompt()
    {
        QFETCH(QString, answer);
        QFETCH(int, sameBytesAsQuality);
        QTemporaryDir dir;
        const QImage canvas = makeCanvas(40, 40);
        const QString path = dir.filePath(QStringLiteral("q.jpg"));
        const auto prompt = answer.isNull() ? JpegQualityPrompt{} : [answer] { return answer; };
        const SaveOutcome outcome = saveImageToFile(canvas, 40, 40, path, prompt);
        QCOMPARE(outcome.status, sameBytesAsQuality ? SaveOutcome::Status::Written : SaveOutcome::Status::NothingWritten);
        // JPEG encoding is deterministic: the same quality gives the same bytes.
        QImageWriter writer(dir.filePath(QStringLiteral("reference.jpg")), "jpeg");
        writer.setQuality(sameBytesAsQuality);
        QVERIFY(sameBytesAsQuality == 0 || writer.write(canvas));
        QCOMPARE(fileBytes(path), sameBytesAsQuality ? fileBytes(writer.fileName()) : QByteArray());
    }

    // The message names the path and the reason; the file already there stays as it was.
    void failureIsReported_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("parent is a file") << "parentFile" << QStringLiteral("ファイルを作成できません。");
        QTest::newRow("bad size") << "size" << QStringLiteral("画像の大きさが正しくありません。");
        QTest::newRow("disk full") << "full" << QStringLiteral("書き込み中にエラーが発生しました。");
    }
    void failureIsReported()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QFile old(dir.filePath(QStringLiteral("保存.png")));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3 && old.flush());
        const QString path = kind == u"parentFile" ? old.fileName() + QStringLiteral("/保存.png") : old.fileName();
        SaveOutcome outcome;
        {
            std::optional<test::FileSizeLimit> fullDisk;
            if (kind == u"full")
                QVERIFY(fullDisk.emplace(64).active());
            outcome = saveImageToFile(makeCanvas(60, 60), kind == u"size" ? 61 : 60, 60, path, {});
        }
        QCOMPARE(outcome.status, SaveOutcome::Status::Failed);
        QVERIFY(outcome.message.startsWith(saveFailedHeading));
        QVERIFY(outcome.message.contains(path));
        QVERIFY2(outcome.message.contains(reason), qPrintable(outcome.message));
        QCOMPARE(fileBytes(old.fileName()), QByteArray("old"));
    }

    // The text without what no file name may hold, cut between whole characters to 255 UTF-8 bytes.
    void proposedFileName_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("line breaks and slash left out") << "一行目\r\n二\r三\nand/or" << "一行目二三andor";
        QTest::newRow("NUL and controls") << QString::fromUtf16(u"a\0b\tc\x1b" "d\x7f" "e\x85" "f", 11) << "abcdef";
        QTest::newRow("backslash, blanks and emoji kept") << " a\\b 猫😺" << " a\\b 猫😺";
        QTest::newRow("dot dot") << ".." << "";
        QTest::newRow("dot after removal") << "/./" << "";
        QTest::newRow("three dots kept") << "..." << "...";
        QTest::newRow("ideographic blanks only") << "\u3000 \u3000" << "";
        QTest::newRow("lone surrogate dropped") << QString::fromUtf16(u"a\xd800" "b", 3) << "ab";
        QTest::newRow("ascii 255 stays") << QString(255, u'a') << QString(255, u'a');
        QTest::newRow("ascii 256 cut to 255 bytes") << QString(256, u'a') << QString(255, u'a');
        QTest::newRow("japanese 200: 85 of 3 bytes") << QString(200, u'あ') << QString(85, u'あ');
        QTest::newRow("pair at the cut dropped whole") << QString(254, u'a') + QStringLiteral("😀😀") << QString(254, u'a');
        // e + combining acute is one character of 3 bytes: after 253 bytes it goes whole.
        QTest::newRow("combining mark at the cut") << QString(253, u'a') + QStringLiteral("e\u0301x") << QString(253, u'a');
        QTest::newRow("line breaks before the cut") << QStringLiteral("\r\n").repeated(20) + QString(300, u'b')
                                                    << QString(255, u'b');
        QTest::newRow("one character too long") << QStringLiteral("a") + QString(200, QChar(0x0301)) << "";
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

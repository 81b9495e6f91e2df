// Saving the canvas: the format chosen by the path's ending, the JPEG quality from the prompt's
// answer, failures turned into a message for the user, and the file name proposed from the text.
#include "output/ProposedFileName.h"
#include "output/SaveImage.h"
#include "output/SaveTexts.h"

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

// The prompt as the window will show it: counts the questions and gives a fixed answer.
struct Prompt {
    QString answer;
    int asked = 0;
    JpegQualityPrompt function()
    {
        return [this] {
            ++asked;
            return answer;
        };
    }
};

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
        QTest::newRow(".png") << "a.png" << ImageFormat::Png << png;
        QTest::newRow(".PNG") << "a.PNG" << ImageFormat::Png << png;
        QTest::newRow("exactly the key") << ".png" << ImageFormat::Png << png;
        QTest::newRow("japanese name") << "文字.png" << ImageFormat::Png << png;
        QTest::newRow(".Jpg") << "a.Jpg" << ImageFormat::Jpeg << jpeg;
        QTest::newRow(".jpg") << "b.jpg" << ImageFormat::Jpeg << jpeg;
        QTest::newRow(".BMP") << "X.BMP" << ImageFormat::Bitmap << bitmap;
        QTest::newRow(".gif is a bitmap") << "anim.gif" << ImageFormat::Bitmap << bitmap;
        QTest::newRow(".GIF") << "anim.GIF" << ImageFormat::Bitmap << bitmap;
        QTest::newRow(".jpeg") << "photo.jpeg" << ImageFormat::None << none;
        QTest::newRow("a.b") << "a.b" << ImageFormat::None << none;
        QTest::newRow("no extension") << "文字" << ImageFormat::None << none;
        QTest::newRow("short") << "bmp" << ImageFormat::None << none;
        QTest::newRow("shorter") << "b" << ImageFormat::None << none;
        QTest::newRow("empty") << "" << ImageFormat::None << none;
        QTest::newRow(".png inside") << "a.png/b" << ImageFormat::None << none;
        QTest::newRow("trailing blank") << "a.png " << ImageFormat::None << none;
        QTest::newRow(".tiff") << "a.tiff" << ImageFormat::None << none;
        QTest::newRow("full-width letters") << "a.ＰＮＧ" << ImageFormat::None << none;
    }
    void formatFollowsPathEnding()
    {
        QFETCH(QString, fileName);
        QFETCH(ImageFormat, format);
        QFETCH(QByteArray, magic);
        QCOMPARE(imageFormatForPath(fileName), format);   // also names shorter than the key

        QTemporaryDir dir;
        const QString path = dir.filePath(fileName);
        Prompt prompt{QStringLiteral("80")};
        const SaveOutcome outcome = saveImageToFile(makeCanvas(33, 14), 25, 12, path, prompt.function());
        QCOMPARE(outcome.format, format);
        QCOMPARE(prompt.asked, format == ImageFormat::Jpeg ? 1 : 0);
        QVERIFY(outcome.message.isEmpty());
        if (magic.isEmpty()) {
            QCOMPARE(outcome.status, SaveOutcome::Status::NothingWritten);
            QVERIFY(QDir(dir.path()).isEmpty());
        } else {
            QCOMPARE(outcome.status, SaveOutcome::Status::Written);
            QVERIFY(fileBytes(path).startsWith(magic));
            QCOMPARE(QImage(path).size(), QSize(25, 12));   // the top-left part asked for
        }
    }

    void jpegQualityFromPrompt_data()
    {
        QTest::addColumn<QString>("answer");   // a null text: no prompt at all
        QTest::addColumn<int>("sameBytesAsQuality");   // 0: nothing written
        QTest::newRow("50") << "50" << 50;
        QTest::newRow("blanks around 75") << " 75 " << 75;
        QTest::newRow("tab and blanks") << "\t 75  " << 75;
        QTest::newRow("100") << "100" << 100;
        QTest::newRow("1") << "1" << 1;
        QTest::newRow("101 writes at 100") << "101" << 100;
        QTest::newRow("150 writes at 100") << "150" << 100;
        QTest::newRow("255 writes at 100") << "255" << 100;
        QTest::newRow("50.5 is 50") << "50.5" << 50;
        QTest::newRow("51.5 is 52") << "51.5" << 52;
        QTest::newRow("0.6 is 1") << "0.6" << 1;
        QTest::newRow("exponent") << "1e2" << 100;
        QTest::newRow("0") << "0" << 0;
        QTest::newRow("0.4 is 0") << "0.4" << 0;
        QTest::newRow("empty (cancel)") << "" << 0;
        QTest::newRow("blanks only") << "   " << 0;
        QTest::newRow("a word") << "fine" << 0;
        QTest::newRow("number and word") << "50%" << 0;
        QTest::newRow("-5") << "-5" << 0;
        QTest::newRow("256") << "256" << 0;
        QTest::newRow("255.5 is 256") << "255.5" << 0;
        QTest::newRow("300") << "300" << 0;
        QTest::newRow("32767") << "32767" << 0;
        QTest::newRow("beyond 16 bits") << "32768" << 0;
        QTest::newRow("far below 16 bits") << "-40000" << 0;
        QTest::newRow("no prompt") << QString() << 0;
    }
    void jpegQualityFromPrompt()
    {
        QFETCH(QString, answer);
        QFETCH(int, sameBytesAsQuality);
        QTemporaryDir dir;
        const QImage canvas = makeCanvas(40, 40);
        const QString path = dir.filePath(QStringLiteral("q.jpg"));
        Prompt prompt{answer};

        const SaveOutcome outcome =
            saveImageToFile(canvas, 40, 40, path, answer.isNull() ? JpegQualityPrompt{} : prompt.function());
        QCOMPARE(prompt.asked, answer.isNull() ? 0 : 1);
        if (sameBytesAsQuality == 0) {
            QCOMPARE(outcome.status, SaveOutcome::Status::NothingWritten);
            QVERIFY(!QFile::exists(path));
            return;
        }
        QCOMPARE(outcome.status, SaveOutcome::Status::Written);
        // JPEG encoding is deterministic: the same quality gives the same bytes.
        const QString reference = dir.filePath(QStringLiteral("reference.jpg"));
        QImageWriter writer(reference, "jpeg");
        writer.setQuality(sameBytesAsQuality);
        QVERIFY(writer.write(canvas));
        QCOMPARE(fileBytes(path), fileBytes(reference));
    }

    void failureIsReportedWithPathAndReason_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("path is a folder") << "folder" << QStringLiteral("同じ名前のフォルダーがあります。");
        QTest::newRow("parent is a file") << "parentFile" << QStringLiteral("ファイルを作成できません。");
        QTest::newRow("bad size") << "size" << QStringLiteral("画像の大きさが正しくありません。");
    }
    void failureIsReportedWithPathAndReason()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("保存.png"));
        int width = 10;
        if (kind == u"folder") {
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("保存.png")));
        } else if (kind == u"parentFile") {
            QFile plain(dir.filePath(QStringLiteral("メモ.txt")));
            QVERIFY(plain.open(QIODevice::WriteOnly));
            plain.close();
            path = dir.filePath(QStringLiteral("メモ.txt/保存.png"));
        } else {
            width = 11;
        }
        const SaveOutcome outcome = saveImageToFile(makeCanvas(10, 10), width, 10, path, {});
        QCOMPARE(outcome.status, SaveOutcome::Status::Failed);
        QVERIFY(outcome.failed());
        QVERIFY(outcome.message.startsWith(saveFailedHeading));
        QVERIFY(outcome.message.contains(path));
        QVERIFY2(outcome.message.contains(reason), qPrintable(outcome.message));
    }

    // The proposal is the text without what no file name may hold, cut between whole characters
    // to 255 UTF-8 bytes.
    void proposedFileName_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << "Hello" << "Hello";
        QTest::newRow("japanese") << "こんにちは世界" << "こんにちは世界";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("CR LF left out") << "一行目\r\n二行目" << "一行目二行目";
        QTest::newRow("lone LF and CR") << "a\nb\rc" << "abc";
        QTest::newRow("slash") << "and/or" << "andor";
        QTest::newRow("NUL and controls") << QString::fromUtf16(u"a\0b\tc\x1b" "d\x7f" "e\x85" "f", 11)
                                          << "abcdef";
        QTest::newRow("backslash kept") << "a\\b" << "a\\b";
        QTest::newRow("dot") << "." << "";
        QTest::newRow("dot dot") << ".." << "";
        QTest::newRow("dots after removal") << "/./" << "";
        QTest::newRow("three dots kept") << "..." << "...";
        QTest::newRow("blanks only") << "   " << "";
        QTest::newRow("ideographic blanks only") << "\u3000\u3000" << "";
        QTest::newRow("line breaks only") << "\r\n\r\n" << "";
        QTest::newRow("blanks inside kept") << " a b " << " a b ";
        QTest::newRow("emoji kept") << "猫😺" << "猫😺";
        QTest::newRow("lone surrogate dropped") << QString::fromUtf16(u"a\xd800" "b", 3) << "ab";
        QTest::newRow("reversed pair dropped") << QString::fromUtf16(u"a\xdc00\xd800" "b", 4) << "ab";
        QTest::newRow("ascii 300") << QString(300, u'a') << QString(255, u'a');
        QTest::newRow("ascii 255 stays") << QString(255, u'a') << QString(255, u'a');
        QTest::newRow("ascii 256 cut to 255 bytes") << QString(256, u'a') << QString(255, u'a');
        QTest::newRow("japanese 200: 85 of 3 bytes") << QString(200, u'あ') << QString(85, u'あ');
        QTest::newRow("surrogate pairs: 63 of 4 bytes") << QStringLiteral("😀").repeated(100)
                                                        << QStringLiteral("😀").repeated(63);
        QTest::newRow("pair at the cut dropped whole") << QString(254, u'a') + QStringLiteral("😀😀")
                                                       << QString(254, u'a');
        // e + combining acute is one character of 3 bytes: after 253 bytes it goes whole.
        QTest::newRow("combining mark at the cut") << QString(253, u'a') + QStringLiteral("e\u0301x")
                                                   << QString(253, u'a');
        QTest::newRow("line breaks before the cut") << QStringLiteral("\r\n").repeated(20) + QString(300, u'b')
                                                    << QString(255, u'b');
        QTest::newRow("one character too long") << QStringLiteral("a") + QString(200, QChar(0x0301)) << "";
        QTest::newRow("dot left by the cut") << QStringLiteral(".a") + QString(200, QChar(0x0301)) << "";
    }
    void proposedFileName()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        const QString name = sorvel::proposedFileName(text);
        QCOMPARE(name, expected);
        QVERIFY(name.toUtf8().size() <= maxFileNameBytes);
        // The name must survive a round trip through the file system's encoding.
        QCOMPARE(QFile::decodeName(QFile::encodeName(name)), name);
    }
};

QTEST_GUILESS_MAIN(TestSaveImage)
#include "tst_saveimage.moc"

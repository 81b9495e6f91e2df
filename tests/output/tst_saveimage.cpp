// Saving the canvas: the writer chosen by the path, the JPEG prompt asked only for ".jpg",
// the quality rule applied, and a failure turned into a message for the user.
#include "output/SaveImage.h"
#include "output/SaveTexts.h"

#include <QImageWriter>
#include <QtTest>

using namespace sorvel;

Q_DECLARE_METATYPE(sorvel::ImageFormat)
Q_DECLARE_METATYPE(sorvel::SaveOutcome::Status)

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
    void writesByPathEnding_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<ImageFormat>("format");
        QTest::addColumn<QByteArray>("magic");   // start of the file; empty: no file
        QTest::addColumn<bool>("asks");
        QTest::newRow(".png") << "a.png" << ImageFormat::Png << QByteArray("\x89PNG") << false;
        QTest::newRow(".PNG") << "a.PNG" << ImageFormat::Png << QByteArray("\x89PNG") << false;
        QTest::newRow(".Jpg") << "a.Jpg" << ImageFormat::Jpeg << QByteArray("\xff\xd8\xff") << true;
        QTest::newRow(".BMP") << "a.BMP" << ImageFormat::Bitmap << QByteArray("BM") << false;
        QTest::newRow(".gif is a bitmap") << "a.gif" << ImageFormat::Bitmap << QByteArray("BM") << false;
        QTest::newRow(".jpeg") << "a.jpeg" << ImageFormat::None << QByteArray() << false;
        QTest::newRow("a.b") << "a.b" << ImageFormat::None << QByteArray() << false;
        QTest::newRow("no extension") << "文字" << ImageFormat::None << QByteArray() << false;
        QTest::newRow("short") << "bmp" << ImageFormat::None << QByteArray() << false;
    }
    void writesByPathEnding()
    {
        QFETCH(QString, fileName);
        QFETCH(ImageFormat, format);
        QFETCH(QByteArray, magic);
        QFETCH(bool, asks);
        QTemporaryDir dir;
        const QString path = dir.filePath(fileName);
        Prompt prompt{QStringLiteral("80")};
        const QImage canvas = makeCanvas(33, 14);

        const SaveOutcome outcome = saveImageToFile(canvas, 33, 14, path, prompt.function());

        QCOMPARE(outcome.format, format);
        QCOMPARE(prompt.asked, asks ? 1 : 0);
        QVERIFY(outcome.message.isEmpty());
        if (magic.isEmpty()) {
            QCOMPARE(outcome.status, SaveOutcome::Status::NothingWritten);
            QVERIFY(QDir(dir.path()).isEmpty());
        } else {
            QCOMPARE(outcome.status, SaveOutcome::Status::Written);
            QVERIFY(fileBytes(path).startsWith(magic));
            QCOMPARE(QImage(path).size(), QSize(33, 14));
        }
    }

    void jpegQualityFromPrompt_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("sameBytesAsQuality");   // 0: nothing written
        QTest::newRow("50") << "50" << 50;
        QTest::newRow("blanks around 75") << " 75 " << 75;
        QTest::newRow("100") << "100" << 100;
        QTest::newRow("150 writes at 100") << "150" << 100;
        QTest::newRow("50.5 is 50") << "50.5" << 50;
        QTest::newRow("51.5 is 52") << "51.5" << 52;
        QTest::newRow("0") << "0" << 0;
        QTest::newRow("empty (cancel)") << "" << 0;
        QTest::newRow("a word") << "fine" << 0;
        QTest::newRow("-5") << "-5" << 0;
        QTest::newRow("300") << "300" << 0;
    }
    void jpegQualityFromPrompt()
    {
        QFETCH(QString, answer);
        QFETCH(int, sameBytesAsQuality);
        QTemporaryDir dir;
        const QImage canvas = makeCanvas(40, 40);
        const QString path = dir.filePath(QStringLiteral("q.jpg"));
        Prompt prompt{answer};

        const SaveOutcome outcome = saveImageToFile(canvas, 40, 40, path, prompt.function());
        QCOMPARE(prompt.asked, 1);

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

    void jpegWithoutPromptWritesNothing()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("q.jpg"));
        const SaveOutcome outcome = saveImageToFile(makeCanvas(4, 4), 4, 4, path, {});
        QCOMPARE(outcome.status, SaveOutcome::Status::NothingWritten);
        QVERIFY(!QFile::exists(path));
    }

    void writesCanvasSizeFromTopLeft()
    {
        QTemporaryDir dir;
        const QImage canvas = makeCanvas(60, 30);
        const QString path = dir.filePath(QStringLiteral("part.png"));
        QCOMPARE(saveImageToFile(canvas, 25, 12, path, {}).status, SaveOutcome::Status::Written);
        QCOMPARE(QImage(path).convertToFormat(QImage::Format_RGB32), canvas.copy(0, 0, 25, 12));
    }

    void failureIsReportedWithPathAndReason_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("path is a folder") << "folder" << QStringLiteral("同じ名前のフォルダーがあります。");
        QTest::newRow("parent is a file") << "parentFile"
                                          << QStringLiteral("ファイルを作成できません。");
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

    void promptTexts()
    {
        QCOMPARE(jpegPromptTitle, QStringLiteral("JPEG形式で保存"));
        QCOMPARE(jpegPromptText, QString(QStringLiteral("圧縮率を入力してください。") + QChar(13)
                                         + QStringLiteral("0") + QChar(0xFF5E)
                                         + QStringLiteral("100(%)")));
        QCOMPARE(jpegPromptDefault, QStringLiteral("50"));
    }
};

QTEST_GUILESS_MAIN(TestSaveImage)
#include "tst_saveimage.moc"

// The PNG, JPEG and bitmap writers: what they write, what an independent decoder makes of it,
// and that every failure is reported and leaves an existing file untouched.
#include "platform/ImageWriters.h"
#include "support/FileSizeLimit.h"

#include <QtTest>

#include <cstdlib>

using namespace sorvel;

namespace {

enum class Writer { Png, Jpeg, Bitmap };

constexpr int dotsPerMeter96 = 3780;

// Smooth gradients with a few hard-edged blocks, like text on a background.
QImage makeCanvas(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.setDotsPerMeterX(dotsPerMeter96);
    image.setDotsPerMeterY(dotsPerMeter96);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool block = (x / 8 + y / 8) % 5 == 0;
            image.setPixel(x, y, block ? qRgb(20, 20, 160)
                                       : qRgb(x * 255 / width, y * 255 / height, 200));
        }
    }
    return image;
}

// A noisy image: its encoded files are large whatever the format.
QImage makeNoise(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    quint32 state = 12345;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            state = state * 1103515245u + 12345u;
            image.setPixel(x, y, 0xff000000u | (state >> 8));
        }
    }
    return image;
}

WriteResult write(Writer writer, const QImage& canvas, int width, int height, const QString& path,
                  std::uint8_t quality = 90)
{
    switch (writer) {
    case Writer::Png:
        return DCSavetoPNG(canvas, width, height, path, 0);
    case Writer::Jpeg:
        return DCSavetoJPEG(canvas, width, height, path, quality, 0);
    case Writer::Bitmap:
        return saveBitmapFile(canvas, width, height, path);
    }
    return {};
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

double meanAbsoluteError(const QImage& a, const QImage& b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q))
                + std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

// Runs a program to its end and returns its standard output.
QByteArray runTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput();
}

} // namespace

Q_DECLARE_METATYPE(Writer)

class TestImageWriters : public QObject {
    Q_OBJECT

private:
    static void addWriterRows()
    {
        QTest::addColumn<Writer>("writer");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("png") << Writer::Png << QStringLiteral("out.png");
        QTest::newRow("jpeg") << Writer::Jpeg << QStringLiteral("out.jpg");
        QTest::newRow("bitmap") << Writer::Bitmap << QStringLiteral("out.bmp");
        QTest::newRow("bitmap named .gif") << Writer::Bitmap << QStringLiteral("out.gif");
    }

private slots:
    // The top-left part asked for, read back with the same size and pixels (JPEG within its
    // loss), under a Japanese folder and file name.
    void writesTopLeftRegion_data()
    {
        QTest::addColumn<Writer>("writer");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QSize>("size");
        const QList<QPair<const char*, QSize>> sizes = {
            {"whole", QSize(61, 37)}, {"part", QSize(40, 11)}, {"one pixel", QSize(1, 1)}};
        for (const auto& [name, size] : sizes) {
            QTest::addRow("png %s", name) << Writer::Png << QStringLiteral("文字画像.png") << size;
            QTest::addRow("jpeg %s", name) << Writer::Jpeg << QStringLiteral("ＭＳ Ｐゴシック見本.jpg") << size;
            QTest::addRow("bitmap %s", name) << Writer::Bitmap << QStringLiteral("こんにちは😀.bmp") << size;
        }
    }
    void writesTopLeftRegion()
    {
        QFETCH(Writer, writer);
        QFETCH(QString, fileName);
        QFETCH(QSize, size);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("保存先フォルダ")));
        const QString path = dir.filePath(QStringLiteral("保存先フォルダ/") + fileName);
        const QImage canvas = makeCanvas(61, 37);

        const WriteResult result = write(writer, canvas, size.width(), size.height(), path);
        QVERIFY2(result.ok(), qPrintable(result.systemMessage));
        // The name on disk is the UTF-8 of the Unicode name.
        QCOMPARE(QString::fromUtf8(QFile::encodeName(path)), path);

        const QImage expected = canvas.copy(0, 0, size.width(), size.height());
        const QImage read = QImage(path).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(read.size(), size);
        if (writer == Writer::Jpeg)
            QVERIFY2(meanAbsoluteError(read, expected) < 6.0,
                     qPrintable(QString::number(meanAbsoluteError(read, expected))));
        else
            QCOMPARE(read, expected);
    }

    void bitmapIsWindows24Bit()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("out.gif"));   // the name changes nothing
        QVERIFY(saveBitmapFile(makeCanvas(13, 7), 13, 7, path).ok());
        const QByteArray bytes = fileBytes(path);
        QVERIFY(bytes.size() > 54);
        QCOMPARE(bytes.left(2), QByteArray("BM"));
        const auto le16 = [&](int at) {
            return quint8(bytes[at]) | (quint8(bytes[at + 1]) << 8);
        };
        QCOMPARE(le16(14), 40);   // BITMAPINFOHEADER
        QCOMPARE(le16(18), 13);   // width
        QCOMPARE(le16(22), 7);    // height, positive: rows bottom-up
        QCOMPARE(le16(28), 24);   // bits per pixel
        // 13 pixels of 3 bytes make 39, padded to 40 bytes a row.
        QCOMPARE(bytes.size(), 54 + 7 * 40);
    }

    void independentDecoderReadsFiles_data() { addWriterRows(); }
    void independentDecoderReadsFiles()
    {
        QFETCH(Writer, writer);
        QFETCH(QString, fileName);
        const QString magickFormat = writer == Writer::Png ? "PNG" : writer == Writer::Jpeg ? "JPEG" : "BMP";
        const QString identify = QStandardPaths::findExecutable(QStringLiteral("identify"));
        const QString convert = QStandardPaths::findExecutable(QStringLiteral("convert"));
        if (identify.isEmpty() || convert.isEmpty())
            QSKIP("ImageMagick is not installed (scripts/install-deps installs it)");
        QTemporaryDir dir;
        const QString path = dir.filePath(fileName);
        const QImage canvas = makeCanvas(45, 21);
        QVERIFY(write(writer, canvas, 45, 21, path).ok());

        const QString described = QString::fromUtf8(
            runTool(identify, {QStringLiteral("-format"), QStringLiteral("%m %w %h"), path}));
        // ImageMagick calls a bitmap with a BITMAPINFOHEADER "BMP3".
        QVERIFY2(described.startsWith(magickFormat), qPrintable(described));
        QVERIFY2(described.endsWith(QStringLiteral(" 45 21")), qPrintable(described));

        const QByteArray rgb = runTool(convert, {path, QStringLiteral("-depth"),
                                                 QStringLiteral("8"), QStringLiteral("rgb:-")});
        QCOMPARE(rgb.size(), 45 * 21 * 3);
        QImage decoded(reinterpret_cast<const uchar*>(rgb.constData()), 45, 21, 45 * 3,
                       QImage::Format_RGB888);
        decoded = decoded.convertToFormat(QImage::Format_RGB32);
        if (writer == Writer::Jpeg)
            QVERIFY(meanAbsoluteError(decoded, canvas) < 6.0);
        else
            QCOMPARE(decoded, canvas);
    }

    void failuresAreReported_data()
    {
        QTest::addColumn<Writer>("writer");
        QTest::addColumn<QString>("kind");   // what is wrong with the path, if anything
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("expected");
        const QList<QPair<const char*, QSize>> sizes = {
            {"zero width", QSize(0, 10)},      {"zero height", QSize(10, 0)},
            {"negative width", QSize(-1, 10)}, {"negative height", QSize(10, -5)},
            {"too wide", QSize(21, 10)},       {"too high", QSize(20, 11)},
            {"huge", QSize(1 << 30, 1 << 30)}};
        for (const auto& [name, writer] : {std::pair{"png", Writer::Png}, std::pair{"jpeg", Writer::Jpeg},
                                           std::pair{"bitmap", Writer::Bitmap}}) {
            for (const auto& [sizeName, size] : sizes)
                QTest::addRow("%s %s", name, sizeName) << writer << "" << size << int(WriteError::InvalidSize);
            QTest::addRow("%s no image", name) << writer << "noImage" << QSize(0, 0) << int(WriteError::InvalidSize);
            QTest::addRow("%s empty path", name) << writer << "empty" << QSize(8, 8) << int(WriteError::InvalidPath);
            QTest::addRow("%s path is a folder", name) << writer << "folder" << QSize(8, 8) << int(WriteError::IsFolder);
            QTest::addRow("%s parent is a file", name)
                << writer << "parentFile" << QSize(8, 8) << int(WriteError::CannotCreate);
            QTest::addRow("%s missing folder", name) << writer << "missing" << QSize(8, 8) << int(WriteError::CannotCreate);
        }
    }
    void failuresAreReported()
    {
        QFETCH(Writer, writer);
        QFETCH(QString, kind);
        QFETCH(QSize, size);
        QFETCH(int, expected);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("never"));
        if (kind == u"empty") {
            path.clear();
        } else if (kind == u"folder") {
            path = dir.filePath(QStringLiteral("taken.png"));
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("taken.png")));
        } else if (kind == u"parentFile") {
            QFile plain(dir.filePath(QStringLiteral("plain.txt")));
            QVERIFY(plain.open(QIODevice::WriteOnly));
            plain.write("text");
            plain.close();
            path = dir.filePath(QStringLiteral("plain.txt/out.png"));
        } else if (kind == u"missing") {
            path = dir.filePath(QStringLiteral("no/such/folder/out.png"));
        }
        const QImage canvas = kind == u"noImage" ? QImage() : makeCanvas(20, 10);
        const WriteResult result = write(writer, canvas, size.width(), size.height(), path);
        QCOMPARE(int(result.error), expected);
        if (expected == int(WriteError::InvalidSize))
            QVERIFY(!QFile::exists(path));
        else if (kind != u"empty")
            QVERIFY(!result.systemMessage.isEmpty());
        if (kind == u"folder")
            QVERIFY(QFileInfo(path).isDir());
        if (kind == u"parentFile")
            QCOMPARE(fileBytes(dir.filePath(QStringLiteral("plain.txt"))), QByteArray("text"));
    }

    // A failing write, large or small, leaves the old file as it was; a good one replaces it
    // whole. No temporary file is left behind either way.
    void replacesOnlyWhenWritten_data() { addWriterRows(); }
    void replacesOnlyWhenWritten()
    {
        QFETCH(Writer, writer);
        QFETCH(QString, fileName);
        QTemporaryDir dir;
        const QString path = dir.filePath(fileName);
        QVERIFY(write(writer, makeNoise(90, 90), 90, 90, path).ok());
        const QByteArray before = fileBytes(path);
        const QStringList onlyTheFile{fileName};
        // A large file fails while it is written; a small one only when its buffered bytes
        // are flushed at the end.
        for (const int side : {200, 12}) {
            WriteResult result;
            {
                test::FileSizeLimit fullDisk(side == 200 ? 4096 : 64);
                QVERIFY(fullDisk.active());
                result = write(writer, makeNoise(side, side), side, side, path);
            }
            QCOMPARE(result.error, WriteError::WriteFailed);
            QVERIFY(!result.systemMessage.isEmpty());
            QCOMPARE(fileBytes(path), before);
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), onlyTheFile);
        }
        QVERIFY(write(writer, makeCanvas(10, 6), 10, 6, path).ok());
        QCOMPARE(QImage(path).size(), QSize(10, 6));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), onlyTheFile);
    }
};

QTEST_GUILESS_MAIN(TestImageWriters)
#include "tst_imagewriters.moc"

// The PNG, JPEG and bitmap writers: what they write, what an independent decoder makes of it,
// and that every failure is reported and leaves an existing file untouched.
#include "image/AlphaPngEncoder.h"
#include "image/FileReplacement.h"
#include "image/ImageWriters.h"
#include "image/PngEncoder.h"
#include "support/FileSizeLimit.h"

#include <QColorSpace>
#include <QImageWriter>

#include <QtEndian>
#include <QtTest>

using namespace sorvel;

namespace {

enum class Writer { Png, Jpeg, Bitmap };
constexpr Writer writers[] = {Writer::Png, Writer::Jpeg, Writer::Bitmap};

// Gradients with hard-edged blocks, like text on a background; or noise, large in every format.
QImage makeCanvas(int width, int height, bool noise = false)
{
    QImage image(width, height, QImage::Format_RGB32);
    quint32 state = 12345;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            state = state * 1103515245u + 12345u;
            image.setPixel(x, y,
                           noise                      ? 0xff000000u | (state >> 8)
                           : (x / 8 + y / 8) % 5 == 0 ? qRgb(20, 20, 160)
                                                      : qRgb(x * 255 / width, y * 255 / height, 200));
        }
    return image;
}

WriteResult write(Writer writer, const QImage& canvas, QSize size, const QString& path)
{
    if (writer == Writer::Png)
        return writePngFile(canvas, size.width(), size.height(), path);
    if (writer == Writer::Jpeg)
        return writeJpegFile(canvas, size.width(), size.height(), path, 90);
    return writeBmpFile(canvas, size.width(), size.height(), path);
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The pixels as read back: the same for PNG and bitmap; for JPEG, off by under 6 levels on average.
bool sameWithinLoss(const QImage& decoded, const QImage& expected, Writer writer)
{
    const QImage read = decoded.convertToFormat(QImage::Format_RGB888),
                 want = expected.convertToFormat(QImage::Format_RGB888);
    if (read.size() != want.size() || writer != Writer::Jpeg)
        return read == want;
    double sum = 0;
    for (int y = 0; y < read.height(); ++y)
        for (int i = 0; i < 3 * read.width(); ++i)
            sum += std::abs(read.constScanLine(y)[i] - want.constScanLine(y)[i]);
    return sum / (3.0 * read.width() * read.height()) < 6.0;
}

// A picture as text makes it: one colour of text with its blended edges on a background
// (kind "two colours": a palette; "grey": black on white), or everything else ("RGB").
QImage textLike(QSize size, QRgb text, QRgb background, QImage::Format format)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(background);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const int cover = (x * 3 + y * 5) % 11 < 4 ? 255 : (x + y) % 7 * 30;
            const auto mix = [&](int a, int b) { return (a * cover + b * (255 - cover)) / 255; };
            if ((x / 6 + y / 9) % 3 == 0)
                image.setPixel(x, y,
                               qRgb(mix(qRed(text), qRed(background)), mix(qGreen(text), qGreen(background)),
                                    mix(qBlue(text), qBlue(background))));
        }
    return image.convertToFormat(format);
}

// The bytes Qt's writer gives for the top-left part as Format_RGB32: what the JPEG and bitmap
// files held when they were encoded in memory from a copy of the canvas.
QByteArray qtBytes(const QImage& canvas, QSize size, const char* format, int quality)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    return writer.write(canvas.copy(QRect(QPoint(), size)).convertToFormat(QImage::Format_RGB32)) ? buffer.data()
                                                                                                  : QByteArray();
}

} // namespace

class TestImageWriters : public QObject {
    Q_OBJECT
private slots:
    // Each write replaces the last with the top-left part asked for, as Qt and ImageMagick read it.
    void writesTopLeftRegion()
    {
        const QString convert = QStandardPaths::findExecutable(u"convert"_qs);
        if (convert.isEmpty())
            QSKIP("ImageMagick is not installed (scripts/install-deps installs it)");
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(u"保存先フォルダ"_qs));
        const QImage canvas = makeCanvas(61, 37);
        const std::pair<QString, QByteArray> files[] = {// the bitmap's name changes nothing
                                                        {u"文字画像.png"_qs, "\x89PNG"},
                                                        {u"ＭＳ Ｐゴシック.jpg"_qs, "\xFF\xD8\xFF"},
                                                        {u"こんにちは😀.gif"_qs, "BM"}};
        for (const Writer writer : writers)
            for (const QSize size : {QSize(61, 37), QSize(40, 11), QSize(1, 1)}) {
                const auto& [fileName, signature] = files[int(writer)];
                const QString path = dir.filePath(u"保存先フォルダ/"_qs + fileName);
                const WriteResult result = write(writer, canvas, size, path);
                QVERIFY2(result.ok(), qPrintable(result.systemMessage));
                const QImage expected = canvas.copy(QRect(QPoint(), size));
                QVERIFY(sameWithinLoss(QImage(path), expected, writer));
                QProcess magick;
                magick.start(convert, {path, u"-depth"_qs, u"8"_qs, u"rgb:-"_qs});
                QVERIFY(magick.waitForFinished(30000) && magick.exitCode() == 0);
                const QByteArray rgb = magick.readAllStandardOutput();
                QCOMPARE(rgb.size(), size.width() * size.height() * 3);
                QVERIFY(sameWithinLoss(QImage(reinterpret_cast<const uchar*>(rgb.constData()), size.width(),
                                              size.height(), size.width() * 3, QImage::Format_RGB888),
                                       expected, writer));
                const QByteArray bytes = fileBytes(path);
                QVERIFY(bytes.startsWith(signature));
                if (writer == Writer::Bitmap) // 54 header bytes, rows of 24-bit pixels padded to four bytes, bottom-up
                    QCOMPARE(std::pair(bytes.size(), qFromLittleEndian<qint32>(bytes.constData() + 22)),
                             std::pair(qsizetype(54 + size.height() * ((3 * size.width() + 3) & ~3)), size.height()));
            }
        QCOMPARE(QDir(dir.filePath(u"保存先フォルダ"_qs)).entryList(QDir::Files | QDir::Hidden).size(),
                 3); // no temporary file
    }

    // Sizes that do not fit and unusable paths are refused, and nothing is written.
    void failuresAreReported()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(u"taken.png"_qs));
        const QImage canvas = makeCanvas(20, 10);
        const QString never = dir.filePath(u"never"_qs);
        const std::tuple<QImage, QSize, QString, WriteError> cases[] = {
            {QImage(), {8, 8}, never, WriteError::InvalidSize},
            {canvas, {0, 10}, never, WriteError::InvalidSize},
            {canvas, {20, 11}, never, WriteError::InvalidSize},
            {canvas, {8, 8}, QString(), WriteError::InvalidPath},
            {canvas, {8, 8}, dir.filePath(u"taken.png"_qs), WriteError::IsFolder},
            {canvas, {8, 8}, u"/dev/null/out.png"_qs, WriteError::CannotCreate}};
        for (const Writer writer : writers)
            for (const auto& [image, size, path, error] : cases) {
                const WriteResult result = write(writer, image, size, path);
                QCOMPARE(result.error, error);
                // The system's reason, when the system refused.
                QCOMPARE(result.systemMessage.isEmpty(), error == WriteError::InvalidSize || path.isEmpty());
            }
        QVERIFY(!QFile::exists(never));
    }

    // A failing write, large or small, leaves the old file as it was and no temporary file.
    void failedWriteKeepsTheOldFile()
    {
        for (const Writer writer : writers) {
            QTemporaryDir dir;
            const QString path = dir.filePath(u"out"_qs);
            QVERIFY(write(writer, makeCanvas(90, 90, true), {90, 90}, path).ok());
            const QByteArray before = fileBytes(path);
            // A large file fails while it is written, a small one only when flushed at the end.
            for (const int side : {200, 12}) {
                const WriteResult result = [&] {
                    const test::FileSizeLimit fullDisk(side == 200 ? 4096 : 64);
                    return write(writer, makeCanvas(side, side, true), {side, side}, path);
                }();
                QCOMPARE(result.error, WriteError::WriteFailed);
                QVERIFY(!result.systemMessage.isEmpty());
                QCOMPARE(fileBytes(path), before);
                QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"out"_qs});
            }
        }
    }

    // The file each writer streams holds exactly the bytes of its in-memory encoder, and those
    // of the encoders before streaming: Qt's for JPEG and the bitmap, the PNG encoder's for a
    // copy of the part written. For every kind of picture (grey, palette, RGB), canvases in
    // other formats, and parts smaller than the canvas.
    void streamedFilesAreTheEncodersBytes_data()
    {
        QTest::addColumn<QImage>("canvas");
        QTest::addColumn<QSize>("size");
        const QSize side(83, 29);
        const auto add = [&](const char* name, const QImage& canvas) {
            QTest::addRow("%s, whole", name) << canvas << canvas.size();
            QTest::addRow("%s, top-left part", name) << canvas << QSize(canvas.width() - 6, canvas.height() - 5);
        };
        add("grey", textLike(side, qRgb(0, 0, 0), qRgb(255, 255, 255), QImage::Format_RGB32));
        add("two colours", textLike(side, qRgb(200, 30, 40), qRgb(250, 240, 200), QImage::Format_RGB32));
        add("RGB", makeCanvas(side.width(), side.height()));
        add("noise", makeCanvas(side.width(), side.height(), true));
        add("rows padded to four bytes", makeCanvas(11, 8));
        add("ARGB32 canvas", makeCanvas(side.width(), side.height()).convertToFormat(QImage::Format_ARGB32));
        add("RGB888 canvas", textLike(side, qRgb(10, 90, 10), qRgb(255, 255, 255), QImage::Format_RGB888));
        QImage described = makeCanvas(side.width(), side.height());
        described.setDotsPerMeterX(2000);
        described.setDotsPerMeterY(4000);
        described.setColorSpace(QColorSpace::SRgb);
        described.setText(u"Comment"_qs, u"kept"_qs);
        add("resolution, colour space, text", described);
    }
    void streamedFilesAreTheEncodersBytes()
    {
        QFETCH(QImage, canvas);
        QFETCH(QSize, size);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"picture"_qs);
        for (const Writer writer : writers) {
            QVERIFY(write(writer, canvas, size, path).ok());
            const QByteArray file = fileBytes(path);
            QByteArray inMemory;
            QByteArray before;
            switch (writer) {
            case Writer::Png:
                QVERIFY(encodePng(canvas, size.width(), size.height(), inMemory).ok());
                QVERIFY(encodePngImage(canvas.copy(QRect(QPoint(), size)).convertToFormat(QImage::Format_RGB32),
                                       size.width(), size.height(), before)
                            .ok());
                break;
            case Writer::Jpeg:
                QVERIFY(encodeJpeg(canvas, size.width(), size.height(), 90, inMemory).ok());
                before = qtBytes(canvas, size, "jpeg", 90);
                break;
            case Writer::Bitmap:
                QVERIFY(encodeBmp(canvas, size.width(), size.height(), inMemory).ok());
                before = qtBytes(canvas, size, "bmp", -1);
                break;
            }
            QVERIFY(!file.isEmpty());
            QCOMPARE(file, inMemory);
            QCOMPARE(file, before);
        }
    }

    // A picture with an alpha channel, converted one row at a time as it is streamed: the file
    // decodes to the straight colours of the whole picture converted at once, and equals the
    // in-memory encoder's bytes.
    void alphaPngStreamsRowByRow_data()
    {
        QTest::addColumn<int>("format");
        QTest::newRow("16 bits a channel, premultiplied (the see-through canvas)")
            << int(QImage::Format_RGBA64_Premultiplied);
        QTest::newRow("ARGB32, premultiplied") << int(QImage::Format_ARGB32_Premultiplied);
        QTest::newRow("RGBA8888, read in place") << int(QImage::Format_RGBA8888);
    }
    void alphaPngStreamsRowByRow()
    {
        QFETCH(int, format);
        QImage canvas(71, 23, QImage::Format_ARGB32);
        for (int y = 0; y < canvas.height(); ++y)
            for (int x = 0; x < canvas.width(); ++x)
                canvas.setPixel(x, y, qRgba(x * 3, y * 11, (x * y) % 256, (x * 7 + y * 13) % 256));
        canvas = canvas.convertToFormat(QImage::Format(format));
        const QSize size(64, 20);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"alpha.png"_qs);
        const WriteResult written = replaceFileWithStream(path, Durability::WhenClosed, [&](QIODevice& sink) {
            return writeAlphaPngImage(canvas, size.width(), size.height(), sink);
        });
        QVERIFY2(written.ok(), qPrintable(written.systemMessage));
        QByteArray inMemory;
        QVERIFY(encodeAlphaPngImage(canvas, size.width(), size.height(), inMemory).ok());
        QCOMPARE(fileBytes(path), inMemory);
        const QImage expected = canvas.convertToFormat(QImage::Format_RGBA8888).copy(QRect(QPoint(), size));
        QCOMPARE(QImage(path).convertToFormat(QImage::Format_RGBA8888), expected);
    }
};

QTEST_GUILESS_MAIN(TestImageWriters)
#include "tst_imagewriters.moc"

// The PNG, JPEG and bitmap writers: what they write, what an independent decoder makes of it,
// and that every failure is reported and leaves an existing file untouched.
#include "image/ImageWriters.h"
#include "support/FileSizeLimit.h"

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
};

QTEST_GUILESS_MAIN(TestImageWriters)
#include "tst_imagewriters.moc"

// The PNG, JPEG and bitmap writers: what they write, what an independent decoder makes of it,
// and that every failure is reported and leaves an existing file untouched.
#include "platform/ImageWriters.h"
#include "support/FileSizeLimit.h"

#include <QtEndian>
#include <QtTest>

using namespace sorvel;

namespace {

enum class Writer { Png, Jpeg, Bitmap };

// Smooth gradients with hard-edged blocks, like text on a background; or noise, whose files
// are large in every format.
QImage makeCanvas(int width, int height, bool noise = false)
{
    QImage image(width, height, QImage::Format_RGB32);
    quint32 state = 12345;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            state = state * 1103515245u + 12345u;
            image.setPixel(x, y, noise ? 0xff000000u | (state >> 8)
                                 : (x / 8 + y / 8) % 5 == 0 ? qRgb(20, 20, 160) : qRgb(x * 255 / width, y * 255 / height, 200));
        }
    return image;
}

WriteResult write(Writer writer, const QImage& canvas, QSize size, const QString& path)
{
    if (writer == Writer::Png)
        return DCSavetoPNG(canvas, size.width(), size.height(), path, 0);
    if (writer == Writer::Jpeg)
        return DCSavetoJPEG(canvas, size.width(), size.height(), path, 90, 0);
    return saveBitmapFile(canvas, size.width(), size.height(), path);
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The pixels as read back: the same for PNG and bitmap, within JPEG's loss.
bool sameWithinLoss(const QImage& decoded, const QImage& expected, Writer writer)
{
    const QImage read = decoded.convertToFormat(QImage::Format_RGB32);
    if (read.size() != expected.size() || writer != Writer::Jpeg)
        return read == expected;
    double sum = 0;
    for (int y = 0; y < read.height(); ++y)
        for (int x = 0; x < read.width(); ++x) {
            const QRgb p = read.pixel(x, y), q = expected.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * read.width() * read.height()) < 6.0;
}

// Runs an ImageMagick program to its end and returns its standard output.
QByteArray runMagick(const char* program, const QStringList& arguments)
{
    QProcess process;
    process.start(QStandardPaths::findExecutable(QString::fromLatin1(program)), arguments);
    const bool ran = process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit;
    return ran && process.exitCode() == 0 ? process.readAllStandardOutput() : QByteArray();
}

} // namespace

Q_DECLARE_METATYPE(Writer)

class TestImageWriters : public QObject {
    Q_OBJECT
private slots:
    // The top-left part asked for, under a Japanese folder and file name, as Qt and ImageMagick
    // read it back.
    void writesTopLeftRegion_data()
    {
        QTest::addColumn<Writer>("writer");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QSize>("size");
        for (const QSize size : {QSize(61, 37), QSize(40, 11), QSize(1, 1)}) {
            QTest::addRow("png %dx%d", size.width(), size.height()) << Writer::Png << u"文字画像.png"_qs << size;
            QTest::addRow("jpeg %dx%d", size.width(), size.height()) << Writer::Jpeg << u"ＭＳ Ｐゴシック.jpg"_qs << size;
            QTest::addRow("bitmap %dx%d named .gif", size.width(), size.height())
                << Writer::Bitmap << u"こんにちは😀.gif"_qs << size;
        }
    }
    void writesTopLeftRegion()
    {
        QFETCH(Writer, writer);
        QFETCH(QString, fileName);
        QFETCH(QSize, size);
        if (QStandardPaths::findExecutable(u"identify"_qs).isEmpty() || QStandardPaths::findExecutable(u"convert"_qs).isEmpty())
            QSKIP("ImageMagick is not installed (scripts/install-deps installs it)");
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(u"保存先フォルダ"_qs));
        const QString path = dir.filePath(u"保存先フォルダ/"_qs + fileName);
        const QImage canvas = makeCanvas(61, 37);
        const WriteResult result = write(writer, canvas, size, path);
        QVERIFY2(result.ok(), qPrintable(result.systemMessage));
        const QImage expected = canvas.copy(QRect(QPoint(), size));
        QVERIFY(sameWithinLoss(QImage(path), expected, writer));

        // ImageMagick calls a bitmap with a BITMAPINFOHEADER "BMP3".
        const QByteArray described = runMagick("identify", {u"-format"_qs, u"%m %w %h"_qs, path});
        const char* format = writer == Writer::Png ? "PNG " : writer == Writer::Jpeg ? "JPEG " : "BMP3 ";
        QCOMPARE(described, format + QByteArray::number(size.width()) + ' ' + QByteArray::number(size.height()));
        const QByteArray rgb = runMagick("convert", {path, u"-depth"_qs, u"8"_qs, u"rgb:-"_qs});
        QCOMPARE(rgb.size(), size.width() * size.height() * 3);
        QVERIFY(sameWithinLoss(QImage(reinterpret_cast<const uchar*>(rgb.constData()), size.width(), size.height(),
                                      size.width() * 3, QImage::Format_RGB888),
                               expected, writer));
        if (writer == Writer::Bitmap) {
            // 24 bits a pixel, rows padded to four bytes and stored bottom-up (positive height).
            const QByteArray bytes = fileBytes(path);
            QCOMPARE(bytes.size(), 54 + size.height() * ((3 * size.width() + 3) & ~3));
            QCOMPARE(qFromLittleEndian<qint32>(bytes.constData() + 22), size.height());
        }
    }

    void failuresAreReported_data()
    {
        QTest::addColumn<Writer>("writer");
        QTest::addColumn<QString>("kind");   // what is wrong with the path or the canvas, if anything
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("expected");
        const std::tuple<const char*, QSize, WriteError> cases[] = {
            {"zero width", {0, 10}, WriteError::InvalidSize},   {"negative height", {10, -5}, WriteError::InvalidSize},
            {"too wide", {21, 10}, WriteError::InvalidSize},    {"too high", {20, 11}, WriteError::InvalidSize},
            {"huge", {1 << 30, 1 << 30}, WriteError::InvalidSize}, {"no canvas", {8, 8}, WriteError::InvalidSize},
            {"empty path", {8, 8}, WriteError::InvalidPath},    {"path is a folder", {8, 8}, WriteError::IsFolder},
            {"parent is a file", {8, 8}, WriteError::CannotCreate}, {"missing folder", {8, 8}, WriteError::CannotCreate}};
        for (const auto& [name, writer] : {std::pair{"png", Writer::Png}, {"jpeg", Writer::Jpeg}, {"bitmap", Writer::Bitmap}})
            for (const auto& [kind, size, error] : cases)
                QTest::addRow("%s %s", name, kind) << writer << QString::fromLatin1(kind) << size << int(error);
    }
    void failuresAreReported()
    {
        QFETCH(Writer, writer);
        QFETCH(QString, kind);
        QFETCH(QSize, size);
        QFETCH(int, expected);
        QTemporaryDir dir;
        QFile plain(dir.filePath(u"plain.txt"_qs));
        QVERIFY(plain.open(QIODevice::WriteOnly) && plain.write("text") == 4);
        plain.close();
        QVERIFY(QDir(dir.path()).mkdir(u"taken.png"_qs));
        const QString path = kind == u"empty path"             ? QString()
                           : kind == u"path is a folder"       ? dir.filePath(u"taken.png"_qs)
                           : kind == u"parent is a file"       ? dir.filePath(u"plain.txt/out.png"_qs)
                           : kind == u"missing folder"         ? dir.filePath(u"no/such/folder/out.png"_qs)
                                                               : dir.filePath(u"never"_qs);
        const WriteResult result = write(writer, kind == u"no canvas" ? QImage() : makeCanvas(20, 10), size, path);
        QCOMPARE(int(result.error), expected);
        QVERIFY(result.systemMessage.isEmpty() == (expected == int(WriteError::InvalidSize) || path.isEmpty()));
        QVERIFY(!QFile::exists(dir.filePath(u"never"_qs)));
        QVERIFY(QFileInfo(dir.filePath(u"taken.png"_qs)).isDir());
        QCOMPARE(fileBytes(plain.fileName()), QByteArray("text"));
    }

    // A failing write, large or small, leaves the old file as it was; a good one replaces it
    // whole. No temporary file is left behind either way.
    void replacesOnlyWhenWritten()
    {
        for (const Writer writer : {Writer::Png, Writer::Jpeg, Writer::Bitmap}) {
            QTemporaryDir dir;
            const QString path = dir.filePath(u"out"_qs);
            QVERIFY(write(writer, makeCanvas(90, 90, true), {90, 90}, path).ok());
            const QByteArray before = fileBytes(path);
            // A large file fails while it is written; a small one only when its buffered bytes
            // are flushed at the end.
            for (const int side : {200, 12}) {
                WriteResult result;
                {
                    test::FileSizeLimit fullDisk(side == 200 ? 4096 : 64);
                    QVERIFY(fullDisk.active());
                    result = write(writer, makeCanvas(side, side, true), {side, side}, path);
                }
                QCOMPARE(result.error, WriteError::WriteFailed);
                QVERIFY(!result.systemMessage.isEmpty());
                QCOMPARE(fileBytes(path), before);
                QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"out"_qs});
            }
            QVERIFY(write(writer, makeCanvas(10, 6), {10, 6}, path).ok());
            QCOMPARE(QImage(path).size(), QSize(10, 6));
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"out"_qs});
        }
    }
};

QTEST_GUILESS_MAIN(TestImageWriters)
#include "tst_imagewriters.moc"

// The one file writer with a streaming writer: what the writer puts into the sink is the new
// file, in pieces of any size; a writer that fails, a write the disk refuses or a writer that
// runs out of memory leaves the old file as it was and no temporary file.
#include "image/FileReplacement.h"
#include "support/FileSizeLimit.h"

#include <QtTest>

#include <new>

using namespace sorvel;

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Bytes no two pieces share, so that a piece written twice or out of order shows.
QByteArray counting(qsizetype size, int seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + seed * 13 + i / 251) & 0xff);
    return bytes;
}

enum class Ending { Success, WriterFails, DiskFull, OutOfMemory };

} // namespace

class TestFileReplacement : public QObject {
    Q_OBJECT
private slots:
    // The sink gathers small pieces and passes large ones through: the file is every piece in
    // order, whatever their sizes around the sink's buffer.
    void piecesMakeTheFile_data()
    {
        QTest::addColumn<QList<int>>("pieces");
        QTest::addColumn<int>("durability");
        QTest::newRow("nothing") << QList<int>{} << int(Durability::WhenClosed);
        QTest::newRow("one byte") << QList<int>{1} << int(Durability::OnDisk);
        QTest::newRow("many small, as libpng writes") << QList<int>(5000, 13) << int(Durability::WhenClosed);
        QTest::newRow("around the buffer") << QList<int>{262143, 1, 1, 262144, 262145, 0, 7} << int(Durability::OnDisk);
        QTest::newRow("larger than the buffer") << QList<int>{3, 1000000, 5} << int(Durability::WhenClosed);
    }
    void piecesMakeTheFile()
    {
        QFETCH(QList<int>, pieces);
        QFETCH(int, durability);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"写真.png"_qs);
        QVERIFY(QFile(path).open(QIODevice::WriteOnly)); // an old, empty file
        QByteArray expected;
        const WriteResult result = replaceFileWithStream(path, Durability(durability), [&](QIODevice& sink) {
            for (int i = 0; i < pieces.size(); ++i) {
                const QByteArray piece = counting(pieces[i], i);
                if (sink.write(piece) != piece.size())
                    return WriteResult::failure(WriteError::WriteFailed, u"short write"_qs);
                expected += piece;
            }
            return WriteResult::success();
        });
        QVERIFY2(result.ok(), qPrintable(result.systemMessage));
        QCOMPARE(fileBytes(path), expected);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"写真.png"_qs});
    }

    // Half-way through the stream: the writer gives up, the disk is full, or memory runs out.
    // The old file stays, nothing else is left behind, and the result says why: the system's
    // reason for a refused write even when the writer carried on as if nothing had happened.
    void failureHalfWayKeepsTheOldFile_data()
    {
        QTest::addColumn<int>("ending");
        QTest::addColumn<int>("durability");
        QTest::addColumn<int>("error");
        QTest::newRow("writer fails, on disk")
            << int(Ending::WriterFails) << int(Durability::OnDisk) << int(WriteError::InvalidSize);
        QTest::newRow("writer fails") << int(Ending::WriterFails) << int(Durability::WhenClosed)
                                      << int(WriteError::InvalidSize);
        QTest::newRow("disk full, on disk")
            << int(Ending::DiskFull) << int(Durability::OnDisk) << int(WriteError::WriteFailed);
        QTest::newRow("disk full") << int(Ending::DiskFull) << int(Durability::WhenClosed)
                                   << int(WriteError::WriteFailed);
        QTest::newRow("out of memory") << int(Ending::OutOfMemory) << int(Durability::WhenClosed)
                                       << int(WriteError::WriteFailed);
    }
    void failureHalfWayKeepsTheOldFile()
    {
        QFETCH(int, ending);
        QFETCH(int, durability);
        QFETCH(int, error);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"out.bmp"_qs);
        QVERIFY(replaceFileWith("the old picture", path).ok());
        WriteResult result;
        {
            std::optional<test::FileSizeLimit> limit;
            if (Ending(ending) == Ending::DiskFull)
                QVERIFY(limit.emplace(600000).active());
            result = replaceFileWithStream(path, Durability(durability), [&](QIODevice& sink) {
                sink.write(counting(500000, 1));
                if (Ending(ending) == Ending::OutOfMemory)
                    throw std::bad_alloc();
                sink.write(counting(500000, 2)); // past the limit of a full disk
                if (Ending(ending) == Ending::WriterFails)
                    return WriteResult::failure(WriteError::InvalidSize, {});
                return WriteResult::success();
            });
        }
        QCOMPARE(int(result.error), error);
        QCOMPARE(result.systemMessage.isEmpty(), Ending(ending) == Ending::WriterFails);
        QCOMPARE(fileBytes(path), QByteArray("the old picture"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"out.bmp"_qs});
    }
};

QTEST_GUILESS_MAIN(TestFileReplacement)
#include "tst_filereplacement.moc"

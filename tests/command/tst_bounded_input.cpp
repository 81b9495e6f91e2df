// What sorvel-render reads stops at its limits: a text at the most bytes a picture is drawn
// from, a batch's job line at the longest line; a longer line fails alone and the lines after
// it are read as before. Both hold for a file and for a pipe that brings a few bytes at a time.
#include "command/BatchLines.h"
#include "command/CommandError.h"
#include "command/TextInput.h"

#include <QBuffer>
#include <QtTest>

using namespace sorvel::render_command;

namespace {

// A pipe as a slow producer fills it: sequential, a few bytes a read, and (without bytes of
// its own) endless zeros like /dev/zero. Counts what it gave.
class TrickleDevice : public QIODevice {
public:
    explicit TrickleDevice(QByteArray bytes, bool endless = false) : m_bytes(std::move(bytes)), m_endless(endless)
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }
    bool atEnd() const override { return !m_endless && m_given >= m_bytes.size(); }
    qint64 given() const { return m_given; }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 left = m_endless ? maxSize : m_bytes.size() - m_given;
        const qint64 size = std::min({maxSize, left, qint64(3)});
        if (size <= 0)
            return -1;
        if (m_endless)
            std::fill_n(data, size, '\0');
        else
            std::copy_n(m_bytes.constData() + m_given, size, data);
        m_given += size;
        return size;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_bytes;
    bool m_endless;
    qint64 m_given = 0;
};

// Every line the reader gives, as NUMBER:TEXT or NUMBER:too long, up to the end.
QStringList linesOf(QIODevice& device, qint64 limit)
{
    BatchLineReader reader(device, limit);
    QStringList lines;
    for (int guard = 0; guard < 100; ++guard) {
        QByteArray line;
        const BatchLineReader::Status status = reader.next(line);
        if (status == BatchLineReader::Status::End)
            return lines;
        if (status == BatchLineReader::Status::ReadFailed)
            return lines << QStringLiteral("read failed");
        lines << QString::number(reader.lineNumber()) + u':' +
                     (status == BatchLineReader::Status::TooLong ? QStringLiteral("too long")
                                                                 : QString::fromUtf8(line));
    }
    return lines << QStringLiteral("no end");
}

// readTextBytes()'s bytes, or its failure's message.
QString textOrFailure(QIODevice& device, qint64 limit)
{
    try {
        return QString::fromUtf8(readTextBytes(device, QStringLiteral("NAME"), limit));
    } catch (const CommandError& error) {
        return error.message();
    }
}

} // namespace

class TestBoundedInput : public QObject {
    Q_OBJECT

private slots:
    void batchLines_data();
    void batchLines();
    void textBytes_data();
    void textBytes();
    void endlessTextStopsPastTheLimit();
};

void TestBoundedInput::batchLines_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QStringList>("lines");
    const QByteArray longLine(1000, 'x');
    QTest::newRow("up to the limit") << QByteArray("short\n12345678\n12345678\r\nlast")
                                     << QStringList{"1:short", "2:12345678", "3:12345678", "4:last"};
    QTest::newRow("one byte over") << QByteArray("123456789\nnext\n") << QStringList{"1:too long", "2:next"};
    QTest::newRow("one byte over before CR LF")
        << QByteArray("123456789\r\nnext\r\n") << QStringList{"1:too long", "2:next"};
    QTest::newRow("far over, in the middle")
        << QByteArray("a\n" + longLine + "\nb\n") << QStringList{"1:a", "2:too long", "3:b"};
    QTest::newRow("far over, at the end without line end")
        << QByteArray("a\n" + longLine) << QStringList{"1:a", "2:too long"};
    QTest::newRow("over, at the end without line end") << QByteArray("123456789") << QStringList{"1:too long"};
    QTest::newRow("empty lines count") << QByteArray("\n\r\nx\n") << QStringList{"1:", "2:", "3:x"};
    QTest::newRow("nothing") << QByteArray() << QStringList{};
}

void TestBoundedInput::batchLines()
{
    QFETCH(QByteArray, input);
    QFETCH(QStringList, lines);
    QBuffer file(&input);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(linesOf(file, 8), lines);
    TrickleDevice pipe(input);
    QCOMPARE(linesOf(pipe, 8), lines);
}

void TestBoundedInput::textBytes_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("result");
    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("at the limit") << QByteArray("1234\n678") << QStringLiteral("1234\n678");
    QTest::newRow("one byte over") << QByteArray("123456789")
                                   << QStringLiteral("NAME: the text is longer than 8 bytes");
    QTest::newRow("far over") << QByteArray(100000, 'x') << QStringLiteral("NAME: the text is longer than 8 bytes");
}

void TestBoundedInput::textBytes()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, result);
    QBuffer file(&input);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(textOrFailure(file, 8), result);
    TrickleDevice pipe(input);
    QCOMPARE(textOrFailure(pipe, 8), result);
    // A file tells its size: a longer one is refused unread.
    if (input.size() > 8)
        QCOMPARE(file.pos(), 0);
}

// /dev/zero or `yes`: the read stops one byte past the limit, at the real limit too.
void TestBoundedInput::endlessTextStopsPastTheLimit()
{
    TrickleDevice zeros({}, true);
    QCOMPARE(textOrFailure(zeros, 1000), QStringLiteral("NAME: the text is longer than 1000 bytes"));
    QCOMPARE(zeros.given(), 1001);

    TrickleDevice moreZeros({}, true);
    QCOMPARE(textOrFailure(moreZeros, maxTextBytes),
             QStringLiteral("NAME: the text is longer than %1 bytes").arg(maxTextBytes));
    QCOMPARE(moreZeros.given(), maxTextBytes + 1);
}

QTEST_GUILESS_MAIN(TestBoundedInput)
#include "tst_bounded_input.moc"

// The rules of saving that need no window: format from the path, JPEG quality from the
// prompt's answer, and the file name proposed from the text.
#include "platform/ImageFormatChoice.h"
#include "platform/JpegQuality.h"
#include "output/ProposedFileName.h"

#include <QtTest>

using namespace sorvel;

Q_DECLARE_METATYPE(sorvel::ImageFormat)

namespace {

qsizetype utf8Size(const QString& text) { return text.toUtf8().size(); }

// Whether cutting text to prefix split a character: a prefix of text that ends before a
// combining mark or between the halves of a surrogate pair.
bool cutInsideCharacter(const QString& text, const QString& prefix)
{
    if (prefix.size() >= text.size())
        return false;
    const QChar next = text.at(prefix.size());
    return next.isLowSurrogate() || next.category() == QChar::Mark_NonSpacing
        || next.category() == QChar::Mark_Enclosing || next.category() == QChar::Mark_SpacingCombining;
}

} // namespace

class TestSaveRules : public QObject {
    Q_OBJECT
private slots:
    void formatFollowsPathEnding_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("key");
        QTest::addColumn<ImageFormat>("format");
        QTest::newRow(".png") << "/home/u/a.png" << ".png" << ImageFormat::Png;
        QTest::newRow(".PNG") << "/home/u/A.PNG" << ".png" << ImageFormat::Png;
        QTest::newRow(".Jpg") << "/home/u/a.Jpg" << ".jpg" << ImageFormat::Jpeg;
        QTest::newRow(".jpg") << "b.jpg" << ".jpg" << ImageFormat::Jpeg;
        QTest::newRow(".BMP") << "/tmp/X.BMP" << ".bmp" << ImageFormat::Bitmap;
        QTest::newRow(".bmp") << "x.bmp" << ".bmp" << ImageFormat::Bitmap;
        QTest::newRow(".gif") << "/tmp/anim.gif" << ".gif" << ImageFormat::Bitmap;
        QTest::newRow(".GIF") << "/tmp/anim.GIF" << ".gif" << ImageFormat::Bitmap;
        QTest::newRow(".jpeg") << "/tmp/photo.jpeg" << "jpeg" << ImageFormat::None;
        QTest::newRow("a.b") << "a.b" << "a.b" << ImageFormat::None;
        QTest::newRow("no extension") << "/home/u/文字" << "u/文字" << ImageFormat::None;
        QTest::newRow("short path") << "png" << "png" << ImageFormat::None;
        QTest::newRow("exactly the key") << ".png" << ".png" << ImageFormat::Png;
        QTest::newRow("empty") << "" << "" << ImageFormat::None;
        QTest::newRow(".png inside") << "/a.png/b" << "ng/b" << ImageFormat::None;
        QTest::newRow("trailing blank") << "a.png " << "png " << ImageFormat::None;
        QTest::newRow(".tiff") << "a.tiff" << "tiff" << ImageFormat::None;
        QTest::newRow("japanese name") << "/写真/文字.png" << ".png" << ImageFormat::Png;
        QTest::newRow("full-width letters") << "a.ＰＮＧ" << ".ｐｎｇ" << ImageFormat::None;
    }
    void formatFollowsPathEnding()
    {
        QFETCH(QString, path);
        QFETCH(QString, key);
        QFETCH(ImageFormat, format);
        QCOMPARE(formatKey(path), key);
        QCOMPARE(imageFormatForPath(path), format);
    }

    void qualityFromAnswer_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("quality");
        QTest::addColumn<int>("writerQuality");   // -1: nothing is written
        QTest::newRow("50") << "50" << 50 << 50;
        QTest::newRow("blanks around 75") << " 75 " << 75 << 75;
        QTest::newRow("tab and blanks") << "\t 75  " << 75 << 75;
        QTest::newRow("100") << "100" << 100 << 100;
        QTest::newRow("150 reaches the writer") << "150" << 150 << 150;
        QTest::newRow("255") << "255" << 255 << 255;
        QTest::newRow("1") << "1" << 1 << 1;
        QTest::newRow("0") << "0" << 0 << -1;
        QTest::newRow("empty (cancel)") << "" << 0 << -1;
        QTest::newRow("blanks only") << "   " << 0 << -1;
        QTest::newRow("a word") << "high" << 0 << -1;
        QTest::newRow("number and word") << "50%" << 0 << -1;
        QTest::newRow("-5") << "-5" << -5 << -1;
        QTest::newRow("256") << "256" << 256 << -1;
        QTest::newRow("300") << "300" << 300 << -1;
        QTest::newRow("32767") << "32767" << 32767 << -1;
        QTest::newRow("beyond 16 bits") << "32768" << 0 << -1;
        QTest::newRow("far below 16 bits") << "-40000" << 0 << -1;
        QTest::newRow("50.5 to even") << "50.5" << 50 << 50;
        QTest::newRow("51.5 to even") << "51.5" << 52 << 52;
        QTest::newRow("0.4 rounds to 0") << "0.4" << 0 << -1;
        QTest::newRow("0.6 rounds to 1") << "0.6" << 1 << 1;
        QTest::newRow("255.5 to even") << "255.5" << 256 << -1;
        QTest::newRow("exponent") << "1e2" << 100 << 100;
    }
    void qualityFromAnswer()
    {
        QFETCH(QString, answer);
        QFETCH(int, quality);
        QFETCH(int, writerQuality);
        const std::int16_t q = jpegQualityFromAnswer(answer);
        QCOMPARE(int(q), quality);
        const std::optional<std::uint8_t> w = jpegWriterQuality(q);
        QCOMPARE(w.has_value(), writerQuality >= 0);
        if (w)
            QCOMPARE(int(*w), writerQuality);
    }

    void proposedNameIsUsable_data()
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
    }
    void proposedNameIsUsable()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(proposedFileName(text), expected);
    }

    void longTextIsCutBetweenCharacters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expectedLength");   // UTF-16 units kept
        QTest::newRow("ascii 300") << QString(300, u'a') << 255;
        QTest::newRow("ascii 255 stays") << QString(255, u'a') << 255;
        QTest::newRow("ascii 256 cut to 255 bytes") << QString(256, u'a') << 255;
        // 3 bytes each: 85 characters are 255 bytes.
        QTest::newRow("japanese 200") << QString(200, u'あ') << 85;
        // 4 bytes each, two units: 63 emoji are 252 bytes.
        QTest::newRow("surrogate pairs") << QStringLiteral("😀").repeated(100) << 126;
        // 254 ASCII bytes, then a pair that does not fit: the pair is dropped whole.
        QTest::newRow("pair at the cut") << QString(254, u'a') + QStringLiteral("😀😀") << 254;
        // e + combining acute is one character of 3 bytes; 253 bytes of 'a' leave 2 bytes,
        // enough for 'e' but not for its mark: the character goes whole.
        QTest::newRow("combining mark at the cut")
            << QString(253, u'a') + QStringLiteral("e\u0301x") << 253;
        QTest::newRow("line breaks before the cut")
            << QStringLiteral("\r\n").repeated(20) + QString(300, u'b') << 255;
        QTest::newRow("one character too long")
            << QStringLiteral("a") + QString(200, QChar(0x0301)) << 0;
        QTest::newRow("dot left by the cut")
            << QStringLiteral(".a") + QString(200, QChar(0x0301)) << 0;
    }
    void longTextIsCutBetweenCharacters()
    {
        QFETCH(QString, text);
        QFETCH(int, expectedLength);
        const QString name = proposedFileName(text);
        QCOMPARE(int(name.size()), expectedLength);
        QVERIFY(name.size() <= maxProposedNameLength);
        QVERIFY(utf8Size(name) <= maxFileNameBytes);
        const QString cleaned = QString(text).remove(u'\r').remove(u'\n');
        QVERIFY(cleaned.startsWith(name));
        QVERIFY(!cutInsideCharacter(cleaned, name));
        // The name must survive a round trip through the file system's encoding.
        QCOMPARE(QFile::decodeName(QFile::encodeName(name)), name);
    }
};

QTEST_GUILESS_MAIN(TestSaveRules)
#include "tst_saverules.moc"

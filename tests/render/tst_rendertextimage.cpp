// The renderer against in-memory surfaces: geometry, layers, shadow, frame, rainbow, failures.
#include "platform/CanvasSurface.h"
#include "platform/MeasuringLabel.h"
#include "platform/PictureHolder.h"
#include "render/ColorHLSToRGB.h"
#include "render/PaletteColor.h"
#include "render/RenderTextImage.h"
#include "platform/RunTimeError.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>

#include <QtTest>

#include <cmath>

using namespace sorvel;

namespace {

constexpr ColorValue white = 0xFFFFFF;
constexpr ColorValue black = 0x000000;

struct Surfaces {
    CanvasSurface canvas;
    MeasuringLabel label;
    PictureHolder holder;
    int resizes = 0;
    Surfaces() { canvas.setResizeListener([this] { ++resizes; }); }
    RenderSurfaces ref() { return {canvas, label, holder}; }
    const QImage& render(const TextImageSettings& s)
    {
        RenderTextImage(s, ref());
        return canvas.image();
    }
};

TextImageSettings plain(const QString& text)
{
    TextImageSettings s;
    s.Text = text;
    s.ForeColor = black;
    s.BackColor = white;
    return s;
}

QSize measured(const TextImageSettings& s)
{
    MeasuringLabel label;
    label.setFont(canvasFontOf(s));
    label.setCaption(s.Text);
    return {label.width(), label.height()};
}

// Pixels that differ from the background colour.
QRect inkBox(const QImage& image, QRgb background, QRect within = {})
{
    if (within.isNull())
        within = image.rect();
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
    for (int y = within.top(); y <= within.bottom(); ++y)
        for (int x = within.left(); x <= within.right(); ++x)
            if (image.pixel(x, y) != background) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

QImage inkMask(const QImage& image, QRgb background)
{
    QImage mask(image.size(), QImage::Format_Mono);
    mask.fill(0);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background)
                mask.setPixel(x, y, 1);
    return mask;
}

QString writePicture(const QTemporaryDir& dir, const QString& name, const QImage& image, const char* format)
{
    const QString path = dir.filePath(name);
    if (!image.save(path, format))
        qFatal("cannot write fixture");
    return path;
}

// A picture whose every pixel is distinct, so tile positions can be recognised.
QImage gradientPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 255 / std::max(1, width - 1), y * 255 / std::max(1, height - 1), 77));
    return image;
}

int roundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

} // namespace

class TestRenderTextImage : public QObject {
    Q_OBJECT
private slots:
    void canvasGeometry_data()
    {
        QTest::addColumn<bool>("italic");
        QTest::addColumn<bool>("shadow");
        QTest::addColumn<double>("widthFactor");
        QTest::addColumn<double>("heightFactor");
        QTest::newRow("plain") << false << false << 1.0 << 1.0;
        QTest::newRow("italic") << true << false << 1.05 << 1.0;
        QTest::newRow("shadow") << false << true << 1.04 << 1.03;
        QTest::newRow("italic and shadow") << true << true << 1.04 << 1.03;
    }
    void canvasGeometry()
    {
        QFETCH(bool, italic);
        QFETCH(bool, shadow);
        QFETCH(double, widthFactor);
        QFETCH(double, heightFactor);
        TextImageSettings s = plain(QStringLiteral("The quick brown fox jumps over 日本語"));
        s.FontItalic = italic;
        s.Shadow = shadow;
        const QSize base = measured(s);
        QVERIFY(base.width() > 100);
        Surfaces out;
        const QImage& image = out.render(s);
        QCOMPARE(image.width(), roundEven(base.width() * widthFactor));
        QCOMPARE(image.height(), roundEven(base.height() * heightFactor));
        QCOMPARE(out.canvas.scaleWidth(), image.width());
        QCOMPARE(image.dotsPerMeterX(), 3780);
    }

    void measuresEveryLineAndEveryAmpersand()
    {
        const QSize one = measured(plain(QStringLiteral("ab")));
        const QSize two = measured(plain(QStringLiteral("ab\r\nlonger line")));
        const QSize longer = measured(plain(QStringLiteral("longer line")));
        QCOMPARE(two.height(), 2 * one.height());
        QCOMPARE(two.width(), longer.width());
        QCOMPARE(one.height(), QFontMetrics(makeFont(defaultFontName, 14.25)).height());
        const QSize amp = measured(plain(QStringLiteral("a&b")));
        const QSize amps = measured(plain(QStringLiteral("a&&b")));
        const QSize noAmp = measured(plain(QStringLiteral("ab")));
        QVERIFY(amp.width() > noAmp.width());
        QVERIFY(amps.width() > amp.width());
        // An empty text: one empty line.
        const QSize empty = measured(plain(QString()));
        QCOMPARE(empty, QSize(0, one.height()));
    }

    void secondLineStartsAtTheLeftEdgeInBothPasses_data()
    {
        QTest::addColumn<bool>("framed");
        QTest::addColumn<bool>("rainbow");
        QTest::newRow("plain") << false << false;
        QTest::newRow("framed") << true << false;
        QTest::newRow("rainbow") << false << true;
        QTest::newRow("rainbow framed") << true << true;
    }
    void secondLineStartsAtTheLeftEdgeInBothPasses()
    {
        QFETCH(bool, framed);
        QFETCH(bool, rainbow);
        TextImageSettings s = plain(QStringLiteral("HH\r\nHH"));
        Surfaces reference;
        const QImage flat = reference.render(s);
        const int lineHeight = flat.height() / 2;
        const QRect firstRef = inkBox(flat, qRgb(255, 255, 255), QRect(0, 0, flat.width(), lineHeight));
        const QRect secondRef = inkBox(flat, qRgb(255, 255, 255), QRect(0, lineHeight, flat.width(), lineHeight));
        QCOMPARE(secondRef.left(), firstRef.left());

        s.Framed = framed;
        s.Rainbow = rainbow;
        Surfaces out;
        const QImage image = out.render(s);
        // Inside the frame: the first line moves by the frame's pixel, the second does not.
        const QRect inside(1, 1, image.width() - 2, image.height() - 2);
        const QRect first = inkBox(image, qRgb(255, 255, 255), inside.intersected(QRect(0, 0, image.width(), lineHeight)));
        const QRect second = inkBox(image, qRgb(255, 255, 255),
                                    inside.intersected(QRect(0, lineHeight + (framed ? 1 : 0), image.width(), lineHeight)));
        QCOMPARE(first.left(), firstRef.left() + (framed ? 1 : 0));
        QCOMPARE(second.left(), secondRef.left());
    }

    void shadowLiesBelowRightOfTheText_data()
    {
        QTest::addColumn<QString>("sizeText");
        QTest::addColumn<bool>("framed");
        QTest::addColumn<int>("offset");   // shadow start minus the unframed text's start
        QTest::newRow("14: 1.12 px") << "14" << false << 1;
        QTest::newRow("14 framed: 0.12 px right of the framed text") << "14" << true << 1;
        QTest::newRow("40: 3.2 px") << "40" << false << 3;
        QTest::newRow("40 framed") << "40" << true << 3;
        QTest::newRow("12.5 converts to 12: 0.96 px") << "12.5" << false << 1;
        QTest::newRow("unconvertible: shadow at 0,0") << "abc" << false << 0;
        QTest::newRow("out of 16-bit range") << "99999" << false << 0;
    }
    void shadowLiesBelowRightOfTheText()
    {
        QFETCH(QString, sizeText);
        QFETCH(bool, framed);
        QFETCH(int, offset);
        TextImageSettings s = plain(QStringLiteral("Shadow    \r\nLine    "));   // blanks: no ink near the edge
        s.SizeText = sizeText;
        Surfaces textOnly;
        const QImage textImage = textOnly.render(s);
        const int lineHeight = textImage.height() / 2;
        // The first line moves right and down; the second line starts at x = 0 in both passes.
        const QRect textBox = inkBox(textImage, qRgb(255, 255, 255), QRect(0, 0, textImage.width(), lineHeight));
        const QRect textLine2 = inkBox(textImage, qRgb(255, 255, 255), QRect(0, lineHeight, textImage.width(), lineHeight));

        // White text on white: only the grey shadow (and nothing else) shows.
        s.Shadow = true;
        s.ForeColor = white;
        s.Framed = framed;
        Surfaces out;
        const QImage image = out.render(s);
        const QRect shadowBox = inkBox(image, qRgb(255, 255, 255), QRect(0, 0, image.width(), lineHeight));
        const QRect shadowLine2 = inkBox(image, qRgb(255, 255, 255), QRect(0, lineHeight, image.width(), lineHeight));
        QVERIFY(!shadowBox.isNull());
        // The white text hides the shadow's left and top edges; its right and bottom edges show.
        QCOMPARE(shadowBox.right() - textBox.right(), offset);
        QCOMPARE(shadowLine2.right(), textLine2.right());
        QCOMPARE(shadowLine2.bottom() - textLine2.bottom(), offset);
        // The shadow is drawn in light grey only.
        bool grey = true;
        for (int y = shadowBox.top(); y <= shadowBox.bottom(); ++y)
            for (int x = shadowBox.left(); x <= shadowBox.right(); ++x) {
                const QRgb p = image.pixel(x, y);
                grey = grey && qRed(p) == qGreen(p) && qGreen(p) == qBlue(p) && qRed(p) >= 192;
            }
        QVERIFY(grey);
        // ForeColor is restored after the shadow pass.
        QCOMPARE(out.canvas.foreColor(), white);
    }

    void frameFollowsTheFinalCanvasSize()
    {
        TextImageSettings s = plain(QStringLiteral("frame"));
        s.Framed = true;
        s.Shadow = true;
        s.FontItalic = true;
        s.ForeColor = PaletteColor(12);
        Surfaces out;
        const QImage image = out.render(s);
        const QRgb red = qRgb(255, 0, 0);
        for (int x = 0; x < image.width(); ++x) {
            QCOMPARE(image.pixel(x, 0), red);
            QCOMPARE(image.pixel(x, image.height() - 1), red);
        }
        for (int y = 0; y < image.height(); ++y) {
            QCOMPARE(image.pixel(0, y), red);
            QCOMPARE(image.pixel(image.width() - 1, y), red);
        }
    }

    void emptyTextStillDrawsTheFrame()
    {
        TextImageSettings s = plain(QString());
        s.Framed = true;
        s.Rainbow = true;   // the hue step fails: nothing is printed, ForeColor restored
        s.Shadow = true;
        Surfaces out;
        out.render(s);
        QCOMPARE(out.canvas.foreColor(), black);
        QCOMPARE(out.canvas.scaleWidth(), 0);
        QCOMPARE(out.canvas.scaleHeight(), roundEven(measured(s).height() * 1.03));
    }

    void rainbowHuesAndExactColours_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("hues");
        QTest::newRow("three") << "MMM" << QList<int>{0, 67, 133};
        QTest::newRow("sixteen") << "MMMMMMMMMMMMMMMM"
                                 << QList<int>{0, 12, 25, 38, 50, 62, 75, 88, 100, 112, 125, 138, 150, 162, 175, 188};
    }
    void rainbowHuesAndExactColours()
    {
        QFETCH(QString, text);
        QFETCH(QList<int>, hues);
        TextImageSettings s = plain(text);
        s.FontUnderline = true;   // the underline is solid: it shows each character's exact colour
        s.Rainbow = true;
        s.FontName = QStringLiteral("DejaVu Sans Mono");
        s.FontSize = 36;
        Surfaces out;
        const QImage image = out.render(s);
        const int advance = image.width() / static_cast<int>(text.size());
        // The underline row: the lowest row that has ink right across.
        int row = -1;
        for (int y = image.height() - 1; y >= 0 && row < 0; --y)
            if (image.pixel(advance / 2, y) != qRgb(255, 255, 255) && image.pixel(image.width() - advance / 2, y) != qRgb(255, 255, 255))
                row = y;
        QVERIFY(row >= 0);
        for (int i = 0; i < hues.size(); ++i) {
            const QColor expected = toQColor(ColorHLSToRGB(static_cast<std::uint16_t>(hues[i]), 160, 200));
            QCOMPARE(QColor(image.pixel(i * advance + advance / 2, row)), expected);
        }
        QCOMPARE(out.canvas.foreColor(), black);
    }

    void rainbowMovesNoGlyph_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("latin with kerning pairs") << "AVATAR WAVE To fi ffi";
        QTest::newRow("japanese") << "日本語のテキスト、カタカナ。";
        QTest::newRow("combining marks") << QStringLiteral("e\u0301a\u0308o\u0323\u0302 n\u0303");
        QTest::newRow("surrogate pair and emoji sequence") << QStringLiteral("a\U0001F600b\U0001F468\u200D\U0001F469c");
        QTest::newRow("arabic joined") << QStringLiteral("مرحبا بالعالم");
        QTest::newRow("lines") << "one\r\ntwo\r\n\r\nfour";
        QTest::newRow("control characters and lone breaks") << QStringLiteral("a\tb\rc\nd\u2028e\u0001f");
    }
    void rainbowMovesNoGlyph()
    {
        QFETCH(QString, text);
        for (bool styled : {false, true}) {
            TextImageSettings s = plain(text);
            s.FontUnderline = styled;
            s.FontStrikethrough = styled;
            s.FontBold = styled;
            Surfaces a;
            const QImage flat = a.render(s);
            s.Rainbow = true;
            Surfaces b;
            const QImage rainbow = b.render(s);
            QCOMPARE(rainbow.size(), flat.size());
            QCOMPARE(inkMask(rainbow, qRgb(255, 255, 255)), inkMask(flat, qRgb(255, 255, 255)));
        }
    }

    void combinedCharacterTakesTheColourOfItsFirstUnit()
    {
        // "e" + combining acute: two units, one character, one colour (hue 0), then "M" at hue 67.
        TextImageSettings s = plain(QStringLiteral("e\u0301MM"));
        s.Rainbow = true;
        s.FontSize = 48;
        Surfaces out;
        const QImage image = out.render(s);
        const QColor first = toQColor(ColorHLSToRGB(0, 160, 200));
        const QColor second = toQColor(ColorHLSToRGB(100, 160, 200));   // hue of unit 2 of 4: 2 * 50
        const int firstCharRight = image.width() / 3;
        bool sawFirst = false;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < firstCharRight; ++x) {
                const QColor c(image.pixel(x, y));
                QVERIFY2(c != toQColor(ColorHLSToRGB(50, 160, 200)), "a combining mark was drawn in its own colour");
                sawFirst = sawFirst || c == first;
            }
        QVERIFY(sawFirst);
        bool sawSecond = false;
        for (int y = 0; y < image.height(); ++y)
            for (int x = firstCharRight; x < image.width(); ++x)
                sawSecond = sawSecond || QColor(image.pixel(x, y)) == second;
        QVERIFY(sawSecond);
    }

    void layersBottomToTop()
    {
        QTemporaryDir dir;
        QImage tile(8, 8, QImage::Format_RGB32);
        tile.fill(qRgb(0, 0, 255));
        TextImageSettings s = plain(QStringLiteral("WWWW"));
        s.strBackImage = writePicture(dir, QStringLiteral("blue.bmp"), tile, "BMP");
        s.Shadow = true;
        s.FontSize = 60;
        s.SizeText = QStringLiteral("100");   // the shadow lies 8 pixels off
        s.ForeColor = PaletteColor(12);
        const QSize base = measured(s);
        {
            // Background tiles cover the measured area only; the widened strips show BackColor.
            Surfaces out;
            const QImage image = out.render(s);
            QCOMPARE(image.pixel(base.width() - 1, base.height() - 1), qRgb(0, 0, 255));
            QVERIFY(image.width() > base.width() && image.height() > base.height());
            QCOMPARE(image.pixel(image.width() - 1, 2), qRgb(255, 255, 255));
            QCOMPARE(image.pixel(2, image.height() - 1), qRgb(255, 255, 255));
        }
        s.Framed = true;
        Surfaces out;
        const QImage image = out.render(s);
        // The frame lies over the tiles.
        QCOMPARE(image.pixel(0, 0), qRgb(255, 0, 0));
        // Text over shadow over background: pure red and grey pixels both exist.
        bool red = false, grey = false;
        for (int y = 1; y < image.height() - 1; ++y)
            for (int x = 1; x < image.width() - 1; ++x) {
                red = red || image.pixel(x, y) == qRgb(255, 0, 0);
                grey = grey || image.pixel(x, y) == qRgb(192, 192, 192);
            }
        QVERIFY(red);
        QVERIFY(grey);
    }

    void tilesStartAtEveryMultipleOfTheTileSize()
    {
        // A 100 x 50 picture on a 250 x 120 canvas: tiles at x = 0, 100, 200 and y = 0, 50, 100.
        const QImage picture = gradientPicture(100, 50);
        CanvasSurface canvas;
        canvas.setBackColor(white);
        canvas.clear();
        canvas.setWidth(250);
        canvas.setHeight(120);
        canvas.drawTiled(picture, 250, 120);
        const QImage& image = canvas.image();
        for (int x : {0, 100, 200})
            for (int y : {0, 50, 100}) {
                QCOMPARE(image.pixel(x, y), picture.pixel(0, 0));
                QCOMPARE(image.pixel(std::min(x + 49, 249), std::min(y + 19, 119)),
                         picture.pixel(std::min(49, 249 - x), std::min(19, 119 - y)));
            }
        // The same pixels as drawing every tile one by one, column by column.
        for (QSize tileSize : {QSize(1, 1), QSize(3, 7), QSize(32, 32), QSize(100, 50), QSize(300, 200)}) {
            const QImage tile = gradientPicture(tileSize.width(), tileSize.height());
            CanvasSurface fast, slow;
            for (CanvasSurface* c : {&fast, &slow}) {
                c->setBackColor(white);
                c->clear();
                c->setWidth(257);
                c->setHeight(131);
            }
            fast.drawTiled(tile, 257, 131);
            for (int x = 0; x <= 257; x += tile.width())
                for (int y = 0; y <= 131; y += tile.height())
                    slow.drawPicture(tile, x, y);
            QCOMPARE(fast.image(), slow.image());
        }
    }

    void backgroundFormatsByTheLastFourCharacters_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("format");
        QTest::newRow(".bmp") << "/a/b.bmp" << int(BackgroundFormat::Picture);
        QTest::newRow(".BMP") << "/a/b.BMP" << int(BackgroundFormat::Picture);
        QTest::newRow(".Jpg") << "/a/b.Jpg" << int(BackgroundFormat::Picture);
        QTest::newRow(".png") << "/a/b.PnG" << int(BackgroundFormat::Png);
        QTest::newRow(".jpeg") << "/a/b.jpeg" << int(BackgroundFormat::None);
        QTest::newRow(".gif") << "/a/b.gif" << int(BackgroundFormat::None);
        QTest::newRow("short") << "bmp" << int(BackgroundFormat::None);
        QTest::newRow("exactly .png") << ".png" << int(BackgroundFormat::Png);
    }
    void backgroundFormatsByTheLastFourCharacters()
    {
        QFETCH(QString, path);
        QFETCH(int, format);
        QCOMPARE(int(backgroundFormatOf(path)), format);
    }

    void backgroundPictureLoadsAndSurvivesItsFile()
    {
        QTemporaryDir dir;
        const QImage picture = gradientPicture(20, 10);
        TextImageSettings s = plain(QStringLiteral("                    "));
        s.strBackImage = writePicture(dir, QStringLiteral("背景.BMP"), picture, "BMP");
        Surfaces out;
        QImage image = out.render(s);
        QCOMPARE(image.pixel(20, 10), picture.pixel(0, 0));
        QCOMPARE(out.holder.scaleWidth(), 20);
        // Deleted: the earlier picture keeps being tiled.
        QVERIFY(QFile::remove(s.strBackImage));
        image = out.render(s);
        QCOMPARE(image.pixel(20, 10), picture.pixel(0, 0));
        // An unknown extension paints no picture.
        s.strBackImage = dir.filePath(QStringLiteral("b.jpeg"));
        image = out.render(s);
        QCOMPARE(image.pixel(20, 10), qRgb(255, 255, 255));
    }

    void jpegAndPngBackgrounds()
    {
        QTemporaryDir dir;
        QImage flat(16, 16, QImage::Format_RGB32);
        flat.fill(qRgb(0, 200, 0));
        TextImageSettings s = plain(QStringLiteral("                "));
        s.strBackImage = writePicture(dir, QStringLiteral("g.jpg"), flat, "JPEG");
        Surfaces out;
        QColor c(out.render(s).pixel(17, 1));
        QVERIFY(std::abs(c.green() - 200) < 8 && c.red() < 8);

        // PNG: transparent pixels show the holder's button-face colour.
        QImage png(10, 6, QImage::Format_ARGB32);
        png.fill(Qt::transparent);
        png.setPixel(0, 0, qRgba(255, 0, 0, 255));
        s.strBackImage = writePicture(dir, QStringLiteral("t.png"), png, "PNG");
        const QImage image = out.render(s);
        QCOMPARE(out.holder.scaleWidth(), 10);
        QCOMPARE(out.holder.scaleHeight(), 6);
        QCOMPARE(image.pixel(10, 6), qRgb(255, 0, 0));
        QCOMPARE(QColor(image.pixel(11, 6)), toQColor(systemButtonFace));

        // A PNG that cannot be read: the holder's cleared surface (button face) is tiled.
        s.strBackImage = dir.filePath(QStringLiteral("missing.png"));
        const QImage missing = out.render(s);
        QCOMPARE(QColor(missing.pixel(10, 6)), toQColor(systemButtonFace));
    }

    void holderThatNeverHeldAPicturePaintsNothing()
    {
        TextImageSettings s = plain(QStringLiteral("nothing"));
        s.strBackImage = QStringLiteral("/no/such/file.bmp");
        Surfaces out;
        const QImage image = out.render(s);
        QCOMPARE(image.pixel(0, 0), qRgb(255, 255, 255));
    }

    void unreadableBackgroundsFailAtOnce_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("name");
        QTest::newRow("empty bmp") << QByteArray() << "e.bmp";
        QTest::newRow("truncated jpeg") << QByteArray::fromHex("ffd8ffe000104a46494600010100000100010000ffdb0043") << "t.jpg";
        QTest::newRow("text as png") << QByteArray("not a picture") << "n.png";
        // A valid PNG signature and header claiming 60000 x 60000 pixels, and no data.
        QTest::newRow("huge png header")
            << QByteArray::fromHex("89504e470d0a1a0a0000000d494844520000ea600000ea600806000000") << "h.png";
        // A BMP header claiming 60000 x -60000 pixels.
        QTest::newRow("huge bmp header")
            << QByteArray::fromHex("424d3600000000000000360000002800000060ea0000a015ffff010020000000000000000000130b0000130b00000000000000000000")
            << "h.bmp";
    }
    void unreadableBackgroundsFailAtOnce()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, name);
        QTemporaryDir dir;
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        TextImageSettings s = plain(QStringLiteral("x"));
        s.strBackImage = file.fileName();
        Surfaces out;
        const QImage image = out.render(s);
        QVERIFY(!image.isNull());
        QVERIFY(out.holder.scaleWidth() <= PictureHolder::designWidth);
    }

    void specialFilesNeverBlock()
    {
        QTemporaryDir dir;
        const QString fifo = dir.filePath(QStringLiteral("pipe.bmp"));
        QCOMPARE(QProcess::execute(QStringLiteral("mkfifo"), {fifo}), 0);
        TextImageSettings s = plain(QStringLiteral("x"));
        Surfaces out;
        for (const QString& path : {fifo, dir.path() + QStringLiteral("/.bmp"), QStringLiteral("/dev/zero.bmp"), dir.path()}) {
            s.strBackImage = path;
            out.render(s);   // returns: a blocked read would hang the test
            QCOMPARE(out.canvas.image().pixel(0, 0), qRgb(255, 255, 255));
        }
    }

    void canvasKeepsWithinItsLimits()
    {
        // 2160 points and many long lines: far beyond 32767 pixels and 128 Mi pixels.
        TextImageSettings s = plain(QString(QStringLiteral("漢字") .repeated(200) + QStringLiteral("\r\n")).repeated(30));
        s.FontSize = 2160;
        s.SizeText = QStringLiteral("2160");
        s.Shadow = true;
        Surfaces out;
        out.render(s);
        QVERIFY(out.canvas.scaleWidth() <= CanvasSurface::maxSide);
        QVERIFY(out.canvas.scaleHeight() <= CanvasSurface::maxSide);
        QVERIFY(static_cast<long long>(out.canvas.scaleWidth()) * out.canvas.scaleHeight() <= CanvasSurface::maxArea);
        QCOMPARE(out.canvas.image().size(), QSize(out.canvas.scaleWidth(), out.canvas.scaleHeight()));
    }

    void canvasResizeKeepsPixelsAndTellsTheListener()
    {
        Surfaces out;
        out.canvas.setBackColor(white);
        out.canvas.clear();
        out.canvas.setWidth(10);
        out.canvas.setHeight(10);
        QImage dot(1, 1, QImage::Format_RGB32);
        dot.fill(qRgb(1, 2, 3));
        out.canvas.drawPicture(dot, 9, 9);
        const int before = out.resizes;
        out.canvas.setBackColor(black);
        out.canvas.setWidth(20.5);   // halves to even: 20
        out.canvas.setHeight(10);    // unchanged: no notification
        QCOMPARE(out.resizes, before + 1);
        QCOMPARE(out.canvas.scaleWidth(), 20);
        QCOMPARE(out.canvas.image().pixel(9, 9), qRgb(1, 2, 3));
        QCOMPARE(out.canvas.image().pixel(15, 5), qRgb(0, 0, 0));
        out.canvas.setWidth(5);
        QCOMPARE(out.canvas.image().width(), 5);
    }

    void everyRenderingNotifiesEachSizeChange()
    {
        TextImageSettings s = plain(QStringLiteral("resize"));
        s.FontItalic = true;
        s.Shadow = true;
        Surfaces out;
        out.resizes = 0;
        out.render(s);
        QVERIFY(out.resizes >= 2);
        QVERIFY(out.resizes <= 5);
    }

    void fontSystemRefusesImpossibleSizes_data()
    {
        QTest::addColumn<double>("points");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("pixels");
        QTest::newRow("14 -> 19 px") << 14.0 << true << 19;
        QTest::newRow("12.5 -> 17 px") << 12.5 << true << 17;
        QTest::newRow("2160") << 2160.0 << true << 2880;
        QTest::newRow("tiny") << 0.1 << true << 1;
        QTest::newRow("0") << 0.0 << false << 0;
        QTest::newRow("negative") << -3.0 << false << 0;
        QTest::newRow("above 2160") << 2160.5 << false << 0;
        QTest::newRow("nan") << std::nan("") << false << 0;
        QTest::newRow("infinity") << HUGE_VAL << false << 0;
    }
    void fontSystemRefusesImpossibleSizes()
    {
        QFETCH(double, points);
        QFETCH(bool, accepted);
        QFETCH(int, pixels);
        QFont font = makeFont(defaultFontName, 14.25);
        bool raised = false;
        try {
            setFontPointSize(font, points);
        } catch (const RunTimeError& e) {
            raised = true;
            QCOMPARE(e.code(), 5);
        }
        QCOMPARE(!raised, accepted);
        QCOMPARE(font.pixelSize(), accepted ? pixels : 19);
        if (accepted && pixels == 19)
            QCOMPARE(fontPointSize(font), 14.25);
    }

    void defaultFontIsAJapaneseFace()
    {
        const QFont font = makeFont(defaultFontName, 14.25);
        const QFontInfo info(font);
        QVERIFY2(QFontDatabase::writingSystems(info.family()).contains(QFontDatabase::Japanese), qPrintable(info.family()));
    }
};

QTEST_MAIN(TestRenderTextImage)
#include "tst_rendertextimage.moc"

// The renderer against in-memory surfaces: geometry, layers, shadow, frame, rainbow, failures.
#include "platform/CanvasSurface.h"
#include "platform/Conversions.h"
#include "platform/MeasuringLabel.h"
#include "platform/PictureHolder.h"
#include "platform/RunTimeError.h"
#include "render/ColorHLSToRGB.h"
#include "render/PaletteColor.h"
#include "render/RenderTextImage.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QtTest>

#include <cmath>

using namespace sorvel;

namespace {

constexpr QRgb white = 0xFFFFFFFF, red = 0xFFFF0000;

struct Surfaces {
    CanvasSurface canvas;
    MeasuringLabel label;
    PictureHolder holder;
    int resizes = 0;
    Surfaces() { canvas.setResizeListener([this] { ++resizes; }); }
    const QImage& render(const TextImageSettings& s)
    {
        RenderTextImage(s, {canvas, label, holder});
        return canvas.image();
    }
};

TextImageSettings plain(const QString& text)
{
    TextImageSettings s;
    s.Text = text;
    s.ForeColor = 0x000000;
    s.BackColor = 0xFFFFFF;
    return s;
}

QSize measured(const TextImageSettings& s)
{
    MeasuringLabel label;
    label.setFont(canvasFontOf(s));
    label.setCaption(s.Text);
    return {label.width(), label.height()};
}

int scaled(int pixels, double factor) { return static_cast<int>(roundHalfEven(pixels * factor)); }

// The smallest rectangle around the pixels within `within` that are not white.
QRect inkBox(const QImage& image, const QRect& within)
{
    QRect box;
    for (int y = within.top(); y <= within.bottom(); ++y)
        for (int x = within.left(); x <= within.right(); ++x)
            if (image.pixel(x, y) != white)
                box |= QRect(x, y, 1, 1);
    return box;
}

// The ink of line `line` of a picture of lines `lineHeight` pixels high, inside a frame's pixel.
QRect lineInk(const QImage& image, int line, int lineHeight)
{
    return inkBox(image, QRect(1, line * lineHeight + 1, image.width() - 2, lineHeight - 2));
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

QColor rainbowHue(int hue) { return toQColor(ColorHLSToRGB(static_cast<std::uint16_t>(hue), 160, 200)); }

} // namespace

class TestRenderTextImage : public QObject {
    Q_OBJECT
private slots:
    // The canvas is the measured text, widened for italic and shadow; every change of a side is told.
    void canvasGeometryAndMeasurement()
    {
        const std::tuple<bool, bool, double, double, int> cases[] = {   // italic, shadow, factors, resizes
            {false, false, 1.0, 1.0, 1}, {true, false, 1.05, 1.0, 2}, {false, true, 1.04, 1.03, 3}, {true, true, 1.04, 1.03, 4}};
        for (const auto& [italic, shadow, widthFactor, heightFactor, resizes] : cases) {
            TextImageSettings s = plain(u"The quick brown fox jumps over 日本語"_qs);
            s.FontItalic = italic;
            s.Shadow = shadow;
            const QSize base = measured(s);
            Surfaces out;
            const QImage& image = out.render(s);
            QCOMPARE(image.size(), QSize(scaled(base.width(), widthFactor), scaled(base.height(), heightFactor)));
            QCOMPARE(image.dotsPerMeterX(), 3780);
            QCOMPARE(out.resizes, resizes);
        }
        // Every line and every ampersand counts.
        const QSize one = measured(plain(u"ab"_qs));
        QCOMPARE(one.height(), QFontMetrics(makeFont(defaultFontName, 14.25)).height());
        QCOMPARE(measured(plain(u"ab\r\nlonger line"_qs)), QSize(measured(plain(u"longer line"_qs)).width(), 2 * one.height()));
        QVERIFY(measured(plain(u"a&b"_qs)).width() > one.width());
        QVERIFY(measured(plain(u"a&&b"_qs)).width() > measured(plain(u"a&b"_qs)).width());
        QCOMPARE(measured(plain(QString())), QSize(0, one.height()));
    }

    // The first line moves right and down by the frame's pixel or the shadow's offset; the
    // second starts at x = 0 in the shadow pass and the text pass, plain or rainbow.
    void linesAndShadow_data()
    {
        QTest::addColumn<bool>("shadow");   // white text on white: only the shadow shows
        QTest::addColumn<QString>("sizeText");
        QTest::addColumn<bool>("framed");
        QTest::addColumn<bool>("rainbow");
        QTest::addColumn<int>("offset");
        QTest::newRow("framed text") << false << "14" << true << false << 1;
        QTest::newRow("rainbow text") << false << "14" << false << true << 0;
        QTest::newRow("framed rainbow text") << false << "14" << true << true << 1;
        QTest::newRow("shadow 14: 1.12 px") << true << "14" << false << false << 1;
        QTest::newRow("shadow 14 framed: 0.12 px off the framed text") << true << "14" << true << false << 1;
        QTest::newRow("shadow 40 framed: 3.2 px") << true << "40" << true << false << 3;
        QTest::newRow("shadow 12.5 converts to 12: 0.96 px") << true << "12.5" << false << false << 1;
        QTest::newRow("shadow unconvertible: at 0,0") << true << "abc" << false << false << 0;
        QTest::newRow("shadow out of 16-bit range") << true << "99999" << false << false << 0;
    }
    void linesAndShadow()
    {
        QFETCH(bool, shadow);
        QFETCH(QString, sizeText);
        QFETCH(bool, framed);
        QFETCH(bool, rainbow);
        QFETCH(int, offset);
        TextImageSettings s = plain(u"Shadow    \r\nLine    "_qs);   // blanks: no ink near the edge
        s.SizeText = sizeText;
        Surfaces reference, out;
        const QImage text = reference.render(s);
        const int lineHeight = text.height() / 2;
        s.Shadow = shadow;
        s.ForeColor = shadow ? 0xFFFFFF : 0x000000;
        s.Framed = framed;
        s.Rainbow = rainbow;
        const QImage image = out.render(s);
        const QRect line1 = lineInk(image, 0, lineHeight), line2 = lineInk(image, 1, lineHeight);
        QCOMPARE(line1.right() - lineInk(text, 0, lineHeight).right(), offset);
        QCOMPARE(line2.right(), lineInk(text, 1, lineHeight).right());
        QCOMPARE(line2.bottom() - lineInk(text, 1, lineHeight).bottom(), offset);
        for (int y = line1.top(); y <= line1.bottom() && shadow; ++y)
            for (int x = line1.left(); x <= line1.right(); ++x) {
                const QRgb p = image.pixel(x, y);
                QVERIFY2(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p) && qRed(p) >= 192, "shadow not light grey");
            }
        QCOMPARE(out.canvas.foreColor(), s.ForeColor);
    }

    void rainbowHues_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("hues");   // of each character cell
        QTest::addColumn<int>("unusedHue");     // the hue of a unit inside a character
        QTest::newRow("three") << "MMM" << QList<int>{0, 67, 133} << -1;
        QTest::newRow("sixteen") << "MMMMMMMMMMMMMMMM"
                                 << QList<int>{0, 12, 25, 38, 50, 62, 75, 88, 100, 112, 125, 138, 150, 162, 175, 188} << -1;
        QTest::newRow("combining mark takes its base's hue") << QStringLiteral("e\u0301MM") << QList<int>{0, 100, 150} << 50;
    }
    void rainbowHues()
    {
        QFETCH(QString, text);
        QFETCH(QList<int>, hues);
        QFETCH(int, unusedHue);
        TextImageSettings s = plain(text);
        s.FontUnderline = true;   // the underline is solid: it shows each character's exact colour
        s.Rainbow = true;
        s.FontName = u"DejaVu Sans Mono"_qs;
        s.FontSize = 36;
        Surfaces out;
        const QImage image = out.render(s);
        const int advance = image.width() / static_cast<int>(hues.size());
        // The underline row: the lowest row that has ink right across.
        int row = image.height() - 1;
        while (row >= 0 && (image.pixel(advance / 2, row) == white || image.pixel(image.width() - advance / 2, row) == white))
            --row;
        QVERIFY(row >= 0);
        for (int i = 0; i < hues.size(); ++i)
            QCOMPARE(QColor(image.pixel(i * advance + advance / 2, row)), rainbowHue(hues[i]));
        for (int y = 0; y < image.height() && unusedHue >= 0; ++y)
            for (int x = 0; x < image.width(); ++x)
                QVERIFY2(QColor(image.pixel(x, y)) != rainbowHue(unusedHue), "a combining mark has its own colour");
    }

    void rainbowMovesNoGlyph_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("latin with kerning pairs") << "AVATAR WAVE To fi ffi";
        QTest::newRow("japanese") << "日本語のテキスト、カタカナ。";
        QTest::newRow("combining marks") << QStringLiteral("e\u0301a\u0308o\u0323\u0302 n\u0303");
        QTest::newRow("surrogate pair and emoji sequence") << QStringLiteral("a\U0001F600b\U0001F468\u200D\U0001F469c");
        QTest::newRow("arabic joined") << QStringLiteral("مرحبا بالعالم");
        QTest::newRow("control characters and lone breaks") << QStringLiteral("a\tb\rc\nd\u2028e\u0001f");
        QTest::newRow("empty: the hue step fails") << QString();
    }
    void rainbowMovesNoGlyph()
    {
        QFETCH(QString, text);
        for (bool styled : {false, true}) {
            TextImageSettings s = plain(text);
            s.FontUnderline = s.FontStrikethrough = s.FontBold = s.Framed = s.Shadow = styled;
            Surfaces a, b;
            const QImage flat = a.render(s);
            s.Rainbow = true;
            const QImage rainbow = b.render(s);
            QCOMPARE(rainbow.size(), flat.size());
            QCOMPARE(rainbow.createMaskFromColor(white, Qt::MaskOutColor), flat.createMaskFromColor(white, Qt::MaskOutColor));
            QCOMPARE(b.canvas.foreColor(), ColorValue(0x000000));
        }
    }

    void layersBottomToTopWithTheFrameOnTheFinalSize()
    {
        QTemporaryDir dir;
        QImage tile(8, 8, QImage::Format_RGB32);
        tile.fill(qRgb(0, 0, 255));
        TextImageSettings s = plain(u"WWWW"_qs);
        s.strBackImage = dir.filePath(u"blue.bmp"_qs);
        QVERIFY(tile.save(s.strBackImage));
        s.Shadow = s.Framed = s.FontItalic = true;
        s.FontSize = 60;
        s.SizeText = u"100"_qs;   // the shadow lies 8 pixels off
        s.ForeColor = PaletteColor(12);
        const QSize base = measured(s);
        Surfaces out;
        const QImage image = out.render(s);
        // Tiles cover the measured area only; the strips the widening adds show BackColor.
        QCOMPARE(image.pixel(base.width() - 1, base.height() - 1), qRgb(0, 0, 255));
        QCOMPARE(image.pixel(image.width() - 2, 2), white);
        QCOMPARE(image.pixel(2, image.height() - 2), white);
        // The frame lies on the final canvas's edges, over the tiles.
        for (int x = 0; x < image.width(); ++x)
            QVERIFY(image.pixel(x, 0) == red && image.pixel(x, image.height() - 1) == red);
        for (int y = 0; y < image.height(); ++y)
            QVERIFY(image.pixel(0, y) == red && image.pixel(image.width() - 1, y) == red);
        // Text over shadow over background: pure red and grey pixels both exist.
        const QImage inside = image.copy(1, 1, image.width() - 2, image.height() - 2);
        QVERIFY(inside.createMaskFromColor(red) != inside.createMaskFromColor(0xFF000001));
        QVERIFY(inside.createMaskFromColor(qRgb(192, 192, 192)) != inside.createMaskFromColor(0xFF000001));
    }

    void tilingEqualsDrawingTileByTile()
    {
        for (const QSize size : {QSize(1, 1), QSize(3, 7), QSize(100, 50), QSize(300, 200)}) {
            const QImage tile = gradientPicture(size.width(), size.height());
            CanvasSurface fast, slow;
            for (CanvasSurface* c : {&fast, &slow}) {
                c->setBackColor(0xFFFFFF);
                c->clear();
                c->setSize(257, 131);
            }
            fast.drawTiled(tile, 257, 131);
            for (int x = 0; x <= 257; x += tile.width())
                for (int y = 0; y <= 131; y += tile.height())
                    slow.drawPicture(tile, x, y);
            QCOMPARE(fast.image(), slow.image());
            QCOMPARE(fast.image().pixel(256, 130), tile.pixel(256 % size.width(), 130 % size.height()));
        }
    }

    void backgroundPictures()
    {
        // The format from the path's last four characters, in any case.
        const std::pair<const char*, BackgroundFormat> formats[] = {
            {"/a/b.BMP", BackgroundFormat::Picture}, {"/a/b.Jpg", BackgroundFormat::Picture},
            {"/a/b.PnG", BackgroundFormat::Png},     {".png", BackgroundFormat::Png},
            {"/a/b.jpeg", BackgroundFormat::None},   {"/a/b.gif", BackgroundFormat::None},
            {"bmp", BackgroundFormat::None}};
        for (const auto& [path, format] : formats)
            QVERIFY2(backgroundFormatOf(QString::fromUtf8(path)) == format, path);
        QTemporaryDir dir;
        TextImageSettings s = plain(QString(20, u' '));
        Surfaces out;
        const auto use = [&](const QString& name, const QImage& picture, const char* format) {
            s.strBackImage = dir.filePath(name);
            return picture.save(s.strBackImage, format);
        };
        const QImage picture = gradientPicture(20, 10);
        QVERIFY(use(u"背景.BMP"_qs, picture, "BMP"));
        QCOMPARE(out.render(s).pixel(20, 10), picture.pixel(0, 0));
        QCOMPARE(out.holder.scaleWidth(), 20);
        // Deleted: the earlier picture keeps being tiled; an unknown ending paints none.
        QVERIFY(QFile::remove(s.strBackImage));
        QCOMPARE(out.render(s).pixel(20, 10), picture.pixel(0, 0));
        s.strBackImage = dir.filePath(u"b.jpeg"_qs);
        QCOMPARE(out.render(s).pixel(20, 10), white);
        QImage green(16, 16, QImage::Format_RGB32);
        green.fill(qRgb(0, 200, 0));
        QVERIFY(use(u"g.jpg"_qs, green, "JPEG"));
        const QColor c(out.render(s).pixel(17, 1));
        QVERIFY(std::abs(c.green() - 200) < 8 && c.red() < 8);
        // A PNG takes its own size (it once kept the holder's); its transparent pixels show the
        // holder's button face.
        QImage png(10, 6, QImage::Format_ARGB32);
        png.fill(Qt::transparent);
        png.setPixel(0, 0, qRgba(255, 0, 0, 255));
        QVERIFY(use(u"t.png"_qs, png, "PNG"));
        const QImage image = out.render(s);
        QCOMPARE(QSize(out.holder.scaleWidth(), out.holder.scaleHeight()), QSize(10, 6));
        QCOMPARE(image.pixel(10, 6), red);
        QCOMPARE(QColor(image.pixel(11, 6)), toQColor(systemButtonFace));
    }

    // Unreadable pictures: a holder that never held one paints nothing (a PNG its cleared surface).
    void unreadablePicturesFailAtOnce_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");   // "fifo", "folder" and "device" make such a file
        QTest::newRow("truncated jpeg") << "t.jpg" << QByteArray::fromHex("ffd8ffe000104a46494600010100000100010000ffdb0043");
        QTest::newRow("text as png") << "n.png" << QByteArray("not a picture");
        // Valid signatures and headers claiming 60000 x 60000 pixels, and no data.
        QTest::newRow("huge png header") << "h.png" << QByteArray::fromHex("89504e470d0a1a0a0000000d494844520000ea600000ea600806000000");
        QTest::newRow("huge bmp header")
            << "h.bmp"
            << QByteArray::fromHex("424d3600000000000000360000002800000060ea0000a015ffff010020000000000000000000130b0000130b00000000000000000000");
        QTest::newRow("fifo bmp") << "p.bmp" << QByteArray("fifo");
        QTest::newRow("fifo png") << "p.png" << QByteArray("fifo");
        QTest::newRow("folder") << "f.bmp" << QByteArray("folder");
        QTest::newRow("device") << "zero.bmp" << QByteArray("device");
    }
    void unreadablePicturesFailAtOnce()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        if (content == "fifo")
            QCOMPARE(QProcess::execute(u"mkfifo"_qs, {path}), 0);
        else if (content == "folder")
            QVERIFY(QDir(dir.path()).mkdir(name));
        else if (content == "device")
            QVERIFY(QFile::link(u"/dev/zero"_qs, path));
        else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        }
        TextImageSettings s = plain(u"x"_qs);
        s.strBackImage = path;
        Surfaces out;
        const QImage image = out.render(s);   // returns: a blocked read would hang the test
        QVERIFY(out.holder.scaleWidth() <= PictureHolder::designWidth);
        QCOMPARE(QColor(image.pixel(0, 0)), name.endsWith(u".png") ? toQColor(systemButtonFace) : QColor(white));
    }

    void canvasKeepsWithinItsLimits()
    {
        // 2160 points and many long lines: far beyond 32767 pixels and 128 Mi pixels.
        TextImageSettings s = plain(QString(u"漢字"_qs.repeated(200) + u"\r\n"_qs).repeated(30));
        s.FontSize = 2160;
        s.SizeText = u"2160"_qs;
        s.Shadow = true;
        Surfaces out;
        const QSize size = out.render(s).size();
        QVERIFY(size.width() <= CanvasSurface::maxSide && size.height() <= CanvasSurface::maxSide);
        QVERIFY(static_cast<long long>(size.width()) * size.height() <= CanvasSurface::maxArea);
        QCOMPARE(size, QSize(out.canvas.scaleWidth(), out.canvas.scaleHeight()));
    }

    void fontSystemRefusesImpossibleSizes()
    {
        // points, pixels; 0 pixels: refused with error 5, the font keeps its 19 pixels.
        const std::pair<double, int> cases[] = {{14, 19},    {12.5, 17},  {2160, 2880},          {0.1, 1},
                                                {0, 0},      {2160.5, 0}, {std::nan(""), 0},     {HUGE_VAL, 0}};
        for (const auto& [points, pixels] : cases) {
            QFont font = makeFont(defaultFontName, 14.25);
            int error = 0;
            try {
                setFontPointSize(font, points);
            } catch (const RunTimeError& e) {
                error = e.code();
            }
            QCOMPARE(error, pixels ? 0 : 5);
            QCOMPARE(font.pixelSize(), pixels ? pixels : 19);
        }
        const QFont font = makeFont(defaultFontName, 14.25);
        QCOMPARE(fontPointSize(font), 14.25);
        QVERIFY(QFontDatabase::writingSystems(QFontInfo(font).family()).contains(QFontDatabase::Japanese));
    }
};

QTEST_MAIN(TestRenderTextImage)
#include "tst_rendertextimage.moc"

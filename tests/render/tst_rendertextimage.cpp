// The renderer against in-memory surfaces: geometry, layers, shadow, frame, rainbow, failures.
#include "render/CanvasSurface.h"
#include "platform/Conversions.h"
#include "render/MeasuringLabel.h"
#include "render/PictureHolder.h"
#include "platform/Failure.h"
#include "render/PaletteColor.h"
#include "render/RenderTextImage.h"
#include "render/RenderTestSurfaces.h"

#include <QFontMetrics>
#include <QtTest>

#include <cmath>

using namespace sorvel;
using namespace sorvel::testing;

namespace {

constexpr QRgb white = 0xFFFFFFFF, red = 0xFFFF0000;

// The text's size as a label of its own measures it.
QSize measured(const TextImageSettings& s)
{
    MeasuringLabel label;
    label.setFont(canvasFontOf(s));
    label.setCaption(s.Text);
    return {label.width(), label.height()};
}

// The box around the non-white pixels of line `line` (of lineHeight pixels), inside a frame.
QRect lineInk(const QImage& image, int line, int lineHeight)
{
    QRect box;
    for (int y = line * lineHeight + 1; y < (line + 1) * lineHeight - 1; ++y)
        for (int x = 1; x < image.width() - 1; ++x)
            if (image.pixel(x, y) != white)
                box |= QRect(x, y, 1, 1);
    return box;
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

} // namespace

class TestRenderTextImage : public QObject {
    Q_OBJECT
private slots:
    // The canvas is the measured text, widened for italic and shadow; every change of a side is told.
    void canvasGeometryAndMeasurement()
    {
        const std::tuple<bool, bool, double, double, int> cases[] = {// italic, shadow, factors, resizes
                                                                     {false, false, 1.0, 1.0, 1},
                                                                     {true, false, 1.05, 1.0, 2},
                                                                     {false, true, 1.04, 1.03, 3},
                                                                     {true, true, 1.04, 1.03, 4}};
        for (const auto& [italic, shadow, widthFactor, heightFactor, resizes] : cases) {
            TextImageSettings s = plain(u"The quick brown fox jumps over 日本語"_qs);
            s.FontItalic = italic;
            s.Shadow = shadow;
            const QSize base = measured(s);
            Surfaces out;
            const QImage& image = out.render(s);
            QCOMPARE(image.size(), QSize(int(roundHalfEven(base.width() * widthFactor)),
                                         int(roundHalfEven(base.height() * heightFactor))));
            QCOMPARE(image.dotsPerMeterX(), 3780);
            QCOMPARE(out.resizes, resizes);
        }
        // Every line and every ampersand counts.
        const int lineHeight = QFontMetrics(makeFont(defaultFontName, 14.25)).height();
        QCOMPARE(measured(plain(u"ab\r\nlonger line"_qs)),
                 QSize(measured(plain(u"longer line"_qs)).width(), 2 * lineHeight));
        QVERIFY(measured(plain(u"a&b"_qs)).width() > measured(plain(u"ab"_qs)).width());
        QCOMPARE(measured(plain(QString())), QSize(0, lineHeight));
    }

    // The first line moves right and down by the frame's pixel or the shadow's offset; the
    // second starts at x = 0 in the shadow pass and the rainbow text pass.
    void linesAndShadow()
    {
        TextImageSettings s = plain(u"Shadow    \r\nLine    "_qs); // blanks: no ink near the edge
        Surfaces reference;
        const QImage text = reference.render(s);
        const int lineHeight = text.height() / 2;
        // shadow (white text: only the shadow shows), size, framed, offset: rainbow text in a frame;
        // 3.2 px, the frame adds nothing; 12.5 is 12, 0.96 px; no 16-bit size puts it at 0,0.
        const std::tuple<bool, QString, bool, int> cases[] = {{false, u"14"_qs, true, 1},
                                                              {true, u"40"_qs, true, 3},
                                                              {true, u"12.5"_qs, false, 1},
                                                              {true, u"abc"_qs, false, 0},
                                                              {true, u"99999"_qs, false, 0}};
        for (const auto& [shadow, sizeText, framed, offset] : cases) {
            s.Shadow = shadow;
            s.Rainbow = !shadow;
            s.SizeText = sizeText;
            s.ForeColor = shadow ? 0xFFFFFF : 0x000000;
            s.Framed = framed;
            Surfaces out;
            const QImage image = out.render(s);
            QCOMPARE(lineInk(image, 0, lineHeight).right() - lineInk(text, 0, lineHeight).right(), offset);
            QCOMPARE(lineInk(image, 1, lineHeight).right(), lineInk(text, 1, lineHeight).right());
            QCOMPARE(lineInk(image, 1, lineHeight).bottom() - lineInk(text, 1, lineHeight).bottom(), offset);
        }
    }

    // Each cell's colour on the solid underline: hues 200 / length apart, worked by hand through
    // the integer HLS formulas; a combining mark takes its base's colour, never its own (hue 50).
    void rainbowHues()
    {
        const std::tuple<QString, QList<QRgb>, QRgb> cases[] = {
            // text, each cell's colour, a colour nowhere
            {u"MMMMMM"_qs, {0xFFF16363, 0xFFF1D963, 0xFF92F163, 0xFF63F1AA, 0xFF63C2F1, 0xFF7B63F1}, 0},
            {u"e\u0301MM"_qs, {0xFFF16363, 0xFF63F1AA, 0xFF6387F1}, 0xFFCEF163}};
        for (const auto& [text, cells, absent] : cases) {
            TextImageSettings s = plain(text);
            s.FontUnderline = s.Rainbow = true;
            s.FontName = u"DejaVu Sans Mono"_qs;
            s.FontSize = 36;
            Surfaces out;
            const QImage image = out.render(s);
            const int advance = image.width() / int(cells.size());
            int row = image.height() - 1; // the underline: the lowest row with ink right across
            while (row >= 0 &&
                   (image.pixel(advance / 2, row) == white || image.pixel(image.width() - advance / 2, row) == white))
                --row;
            QVERIFY(row >= 0);
            for (int i = 0; i < cells.size(); ++i)
                QCOMPARE(QColor(image.pixel(i * advance + advance / 2, row)), QColor(cells[i]));
            for (int i = 0; i < image.width() * image.height(); ++i)
                QVERIFY2(image.pixel(i % image.width(), i / image.width()) != absent,
                         "a combining mark has its own colour");
        }
    }

    void rainbowMovesNoGlyph()
    {
        const QString texts[] = {u"AVATAR WAVE To ffi 日本語のテキスト、カタカナ。"_qs,
                                 u"e\u0301o\u0323\u0302 a\U0001F600b\U0001F468\u200D\U0001F469c"_qs, // marks, emoji
                                 u"مرحبا بالعالم"_qs,
                                 u"a\tb\rc\nd\u2028e\u0001f"_qs, // control characters and lone breaks
                                 QString()};                     // no units, no hue step
        for (const QString& text : texts)
            for (bool styled : {false, true}) {
                TextImageSettings s = plain(text);
                s.FontUnderline = s.FontStrikethrough = s.FontBold = s.Framed = s.Shadow = styled;
                Surfaces a, b;
                const QImage flat = a.render(s);
                s.Rainbow = true;
                const QImage rainbow = b.render(s);
                QCOMPARE(rainbow.createMaskFromColor(white, Qt::MaskOutColor),
                         flat.createMaskFromColor(white, Qt::MaskOutColor));
                QCOMPARE(b.canvas.foreColor(), ColorValue(0x000000));
            }
    }

    void layersBottomToTopWithTheFrameOnTheFinalSize()
    {
        QTemporaryDir dir;
        QImage tile(8, 8, QImage::Format_RGB32);
        tile.fill(qRgb(0, 0, 255));
        TextImageSettings s = plain(u"WWWW"_qs);
        s.backgroundPicture = dir.filePath(u"blue.bmp"_qs);
        QVERIFY(tile.save(s.backgroundPicture));
        s.Shadow = s.Framed = s.FontItalic = true;
        s.FontSize = 60;
        s.SizeText = u"100"_qs; // the shadow lies 8 pixels off
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
        for (const QSize size : {QSize(1, 1), QSize(3, 7), QSize(300, 200)}) {
            const QImage tile = gradientPicture(size.width(), size.height());
            CanvasSurface fast, slow;
            for (CanvasSurface* canvas : {&fast, &slow})
                canvas->setSize(257, 131);
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
        // The format from the ending, in any case: BMP and JPEG, PNG, else none.
        QTemporaryDir dir;
        TextImageSettings s = plain(QString(20, u' '));
        Surfaces out;
        const QImage picture = gradientPicture(20, 10);
        s.backgroundPicture = dir.filePath(u"背景.BMP"_qs);
        QVERIFY(picture.save(s.backgroundPicture, "BMP"));
        QCOMPARE(out.render(s).pixel(20, 10), picture.pixel(0, 0));
        // Deleted: the earlier picture keeps being tiled; an unknown ending paints none.
        QVERIFY(QFile::remove(s.backgroundPicture));
        QCOMPARE(out.render(s).pixel(20, 10), picture.pixel(0, 0));
        s.backgroundPicture = dir.filePath(u"b.jpeg"_qs);
        QCOMPARE(out.render(s).pixel(20, 10), white);
        // A PNG takes its own size (it once kept the holder's); transparent pixels show button face.
        QImage png(10, 6, QImage::Format_ARGB32);
        png.fill(Qt::transparent);
        png.setPixel(0, 0, qRgba(255, 0, 0, 255));
        s.backgroundPicture = dir.filePath(u"t.PnG"_qs);
        QVERIFY(png.save(s.backgroundPicture, "PNG"));
        const QImage image = out.render(s);
        QCOMPARE(QSize(out.holder.scaleWidth(), out.holder.scaleHeight()), QSize(10, 6));
        QCOMPARE(image.pixel(10, 6), red);
        QCOMPARE(QColor(image.pixel(11, 6)), toQColor(systemButtonFace));
    }

    // Unreadable pictures: a holder that never held one paints nothing (a PNG its cleared surface).
    void unreadablePicturesFailAtOnce()
    {
        QTemporaryDir dir;
        const auto make = [&](const QString& name, const char* hex) {
            QFile file(dir.filePath(name));
            return file.open(QIODevice::WriteOnly) && file.write(QByteArray::fromHex(hex)) > 0;
        };
        // A truncated JPEG, a bare PNG header claiming 60000 x 60000 pixels, a fifo, a folder, a device.
        QVERIFY(make(u"t.jpg"_qs, "ffd8ffe000104a46494600010100000100010000ffdb0043"));
        QVERIFY(make(u"h.png"_qs, "89504e470d0a1a0a0000000d494844520000ea600000ea600806000000"));
        QCOMPARE(QProcess::execute(u"mkfifo"_qs, {dir.filePath(u"p.png"_qs)}), 0);
        QVERIFY(QDir(dir.path()).mkdir(u"f.bmp"_qs) && QFile::link(u"/dev/zero"_qs, dir.filePath(u"zero.bmp"_qs)));
        for (const QString& name : {u"t.jpg"_qs, u"h.png"_qs, u"p.png"_qs, u"f.bmp"_qs, u"zero.bmp"_qs}) {
            TextImageSettings s = plain(u"x"_qs);
            s.backgroundPicture = dir.filePath(name);
            Surfaces out;
            const QImage image = out.render(s); // returns: a blocked read would hang the test
            QVERIFY2(out.holder.scaleWidth() <= PictureHolder::designWidth, qPrintable(name));
            QCOMPARE(QColor(image.pixel(0, 0)), name.endsWith(u".png") ? toQColor(systemButtonFace) : QColor(white));
        }
    }

    void fontSystemRefusesImpossibleSizes()
    {
        // points, pixels; 0 pixels: refused as a bad argument, the font keeps its 19 pixels.
        const std::pair<double, int> cases[] = {{12.5, 17}, {0.1, 1},    {2160, 2880},
                                                {0, 0},     {2160.5, 0}, {std::nan(""), 0}};
        for (const auto& [points, pixels] : cases) {
            QFont font = makeFont(defaultFontName, 14.25);
            std::optional<FailureKind> failure;
            try {
                setFontPointSize(font, points);
            } catch (const Failure& e) {
                failure = e.kind();
            }
            QCOMPARE(failure, pixels ? std::nullopt : std::optional(FailureKind::BadArgument));
            QCOMPARE(font.pixelSize(), pixels ? pixels : 19);
        }
    }
};

QTEST_MAIN(TestRenderTextImage)
#include "tst_rendertextimage.moc"

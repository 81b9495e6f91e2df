// Outlines and shadows of their own look, and a picture sized to its ink: where the outline's
// ink lies against the glyphs, what it leaves of the fill, its edges on a see-through
// background, the shadow's shape and softness, and a fixed width that holds every effect.
#include "render/RenderTestSurfaces.h"
#include "render/effects/InkRoom.h"

#include <QFontDatabase>
#include <QtTest>

#include <functional>
#include <set>

using namespace sorvel;
using namespace sorvel::testing;

Q_DECLARE_METATYPE(sorvel::TextImageSettings)

namespace {

constexpr QRgb white = 0xFFFFFFFF;
constexpr ColorValue blue = 0xFF0000; // 0x00BBGGRR
constexpr ColorValue green = 0x00FF00;

// The text's coverage in a black-on-white picture, 0 to 255 a pixel.
int coverageOf(const QImage& image, int x, int y)
{
    return 255 - qGray(image.pixel(x, y));
}

QRect boxOf(const QImage& image, const std::function<bool(QRgb)>& wanted)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (wanted(image.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}

QRect inkBox(const QImage& image)
{
    return boxOf(image, [](QRgb p) { return p != white; });
}

int countOf(const QImage& image, QRgb color)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == color ? 1 : 0;
    return n;
}

// Every pixel within the disc of radius r (dx^2 + dy^2 <= r^2 + r) of a pixel the text covers
// at all, worked out pixel by pixel.
std::set<std::pair<int, int>> grownInk(const QImage& plain, int r)
{
    std::set<std::pair<int, int>> grown;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x) {
            if (coverageOf(plain, x, y) == 0)
                continue;
            for (int dy = -r; dy <= r; ++dy)
                for (int dx = -r; dx <= r; ++dx)
                    if (dx * dx + dy * dy <= r * r + r)
                        grown.insert({x + dx, y + dy});
        }
    return grown;
}

TextImageSettings outlined(const QString& text, std::initializer_list<TextOutline> outlines)
{
    TextImageSettings s = plain(text);
    s.Outlines = outlines;
    return s;
}

} // namespace

class TestOutlinesAndShadows : public QObject {
    Q_OBJECT
private slots:
    // The outline covers the pixels within its width of the glyphs (underline included),
    // the picture grows by the width on every side, and every pixel the text covers fully keeps
    // the text's colour.
    void outlineLiesAroundTheGlyphsBeneathTheFill_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("underline");
        QTest::newRow("1 px") << 1 << false;
        QTest::newRow("3 px, underlined") << 3 << true;
        QTest::newRow("6 px") << 6 << false;
    }
    void outlineLiesAroundTheGlyphsBeneathTheFill()
    {
        QFETCH(int, width);
        QFETCH(bool, underline);
        TextImageSettings s = plain(u"Wavy jig, 文字"_qs);
        s.FontUnderline = underline;
        Surfaces bare, out;
        const QImage without = bare.render(s).copy();
        s.Outlines = {{width, blue}};
        const QImage with = out.render(s);
        QCOMPARE(with.size(), without.size() + QSize(2 * width, 2 * width));

        // The plain picture moved to where the outline leaves the text.
        QImage moved(with.size(), QImage::Format_RGB32);
        moved.fill(white);
        for (int y = 0; y < without.height(); ++y)
            for (int x = 0; x < without.width(); ++x)
                moved.setPixel(x + width, y + width, without.pixel(x, y));
        const std::set<std::pair<int, int>> expected = grownInk(moved, width);
        int painted = 0;
        for (int y = 0; y < with.height(); ++y)
            for (int x = 0; x < with.width(); ++x) {
                const bool inside = expected.count({x, y}) != 0;
                // Beyond the grown ink, only a faint trace of glyph edges too light to show in
                // the plain picture.
                const QString where = QStringLiteral("%1,%2").arg(x).arg(y);
                if (inside)
                    QVERIFY2(with.pixel(x, y) != white, qPrintable(where));
                else
                    QVERIFY2(qGray(with.pixel(x, y)) >= 245, qPrintable(where));
                if (coverageOf(moved, x, y) == 255)
                    QCOMPARE(with.pixel(x, y), moved.pixel(x, y));
                painted += with.pixel(x, y) == qRgb(0, 0, 255) ? 1 : 0;
            }
        // Every grown pixel lies within the picture: nothing of the outline is cut.
        for (const auto& [x, y] : expected)
            QVERIFY(QRect(QPoint(), with.size()).contains(x, y));
        QVERIFY(painted > 0);
    }

    // Each further outline lies its width around the one before, beneath it.
    void furtherOutlinesLieAroundTheOnesBefore()
    {
        Surfaces one, two;
        const QImage single = one.render(outlined(u"O-k"_qs, {{2, blue}})).copy();
        const QImage twice = two.render(outlined(u"O-k"_qs, {{2, blue}, {3, green}}));
        QCOMPARE(twice.size(), single.size() + QSize(6, 6));
        const QRect blueBox = boxOf(twice, [](QRgb p) { return p == qRgb(0, 0, 255); });
        const QRect greenBox = boxOf(twice, [](QRgb p) { return qGreen(p) > 0 && qRed(p) == 0 && qBlue(p) == 0; });
        QCOMPARE(greenBox, blueBox.adjusted(-3, -3, 3, 3));
        // The inner outline and the text are as with the inner outline alone.
        QCOMPARE(twice.copy(3, 3, single.width(), single.height()).pixel(single.width() / 2, single.height() / 2),
                 single.pixel(single.width() / 2, single.height() / 2));
        QCOMPARE(countOf(twice, qRgb(0, 0, 255)), countOf(single, qRgb(0, 0, 255)));
    }

    // Rainbow letters keep their hues; the outline keeps its colour, pixel for pixel.
    void rainbowFillKeepsTheOutlinesColour()
    {
        TextImageSettings s = outlined(u"Rainbow"_qs, {{2, blue}});
        Surfaces plainText, rainbow;
        const QImage one = plainText.render(s).copy();
        s.Rainbow = true;
        const QImage many = rainbow.render(s);
        QCOMPARE(many.size(), one.size());
        QCOMPARE(countOf(many, qRgb(0, 0, 255)), countOf(one, qRgb(0, 0, 255)));
        QVERIFY(countOf(many, qRgb(0, 0, 0)) < countOf(one, qRgb(0, 0, 0)));
    }

    // On a see-through background the outline's outer edge fades in the outline's own colour,
    // and the glyphs' edges lie on the opaque outline: every pixel is a mix of the text's black
    // and the outline's blue, none takes anything of the background's white.
    void transparentBackgroundHasNoFringe()
    {
        TextImageSettings s = outlined(u"Edge"_qs, {{2, blue}});
        s.BackAlpha = 0;
        Surfaces out;
        const QImage image = out.render(s).convertToFormat(QImage::Format_ARGB32);
        int fading = 0;
        int mixed = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                if (qAlpha(p) == 0)
                    continue;
                QVERIFY2(qRed(p) <= 1 && qGreen(p) <= 1, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
                if (qAlpha(p) < 255 && qBlue(p) >= 254)
                    ++fading; // the outline's edge: its colour with less alpha
                if (qAlpha(p) == 255 && qBlue(p) > 0 && qBlue(p) < 255)
                    ++mixed; // a glyph's antialiased edge over the outline
            }
        QVERIFY(fading > 10);
        QVERIFY(mixed > 10);
    }

    // The shadow has the outlined shape: its box is the outline's, moved by the offset.
    void shadowTakesTheOutlinedShape()
    {
        TextImageSettings s = outlined(u"Shade"_qs, {{3, blue}});
        s.Shadow = true;
        s.ShadowStyle.color = green;
        s.ShadowStyle.offset = QPoint(9, -4);
        Surfaces out;
        const QImage image = out.render(s);
        const QRect outline = boxOf(image, [](QRgb p) { return qBlue(p) == 255 && qRed(p) == 0; });
        const QRect shadow = boxOf(image, [](QRgb p) { return qGreen(p) > 0 && qRed(p) == 0 && qBlue(p) == 0; });
        QCOMPARE(shadow.right(), outline.right() + 9);
        QCOMPARE(shadow.top(), outline.top() - 4);
        // The picture grows by the outline on every side and by the shadow beyond it: 9 more on
        // the right, 4 more on the top.
        Surfaces bare;
        TextImageSettings plainText = plain(s.Text);
        QCOMPARE(image.size(), bare.render(plainText).size() + QSize(3 + 3 + 9, 3 + 3 + 4));
    }

    // A soft shadow on a see-through background: an alpha gradient in the shadow's colour that
    // spreads its reach beyond the sharp one.
    void softShadowIsAnAlphaGradient()
    {
        TextImageSettings s = plain(u"I"_qs);
        s.FontSize = 40;
        s.Shadow = true;
        s.ShadowStyle.color = rgbColor(255, 0, 0);
        s.ShadowStyle.offset = QPoint(0, 0);
        s.BackAlpha = 0;
        Surfaces sharpOut, softOut;
        const QImage sharp = sharpOut.render(s).convertToFormat(QImage::Format_ARGB32);
        s.ShadowStyle.blur = 8;
        const QImage soft = softOut.render(s).convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(soft.size(), sharp.size() + QSize(16, 16));
        const auto seen = [](const QImage& image) { return boxOf(image, [](QRgb p) { return qAlpha(p) > 0; }); };
        const QRect spread = seen(sharp).translated(8, 8);
        QVERIFY(spread.adjusted(-8, -8, 8, 8).contains(seen(soft)));
        QVERIFY(seen(soft).contains(spread.adjusted(-7, -7, 7, 7)));

        // Across the middle row from the left edge to the glyph: alpha rises step by step, in red.
        const int y = soft.height() / 2;
        std::set<int> levels;
        int previous = 0;
        for (int x = 0; x < soft.width() / 2; ++x) {
            const QRgb p = soft.pixel(x, y);
            if (qAlpha(p) == 0) {
                QVERIFY(levels.empty());
                continue;
            }
            if (qRed(p) < 250 || qAlpha(p) == 255)
                break; // the glyph
            QVERIFY(qAlpha(p) >= previous);
            QVERIFY2(qGreen(p) <= 2 && qBlue(p) <= 2, qPrintable(QString::number(x)));
            previous = qAlpha(p);
            levels.insert(qAlpha(p));
        }
        QVERIFY2(levels.size() >= 6, qPrintable(QString::number(levels.size())));
    }

    // A colour emoji's shadow is its shape in the shadow's colour, not a second coloured emoji:
    // beside the emoji, where only the shadow reaches, every pixel is the shadow's grey or the
    // background (or between them).
    void emojiShadowIsItsSilhouette_data()
    {
        QTest::addColumn<QPoint>("offset"); // (0, 0): the window's shadow
        QTest::newRow("window's shadow") << QPoint();
        QTest::newRow("shadow moved far") << QPoint(30, 30);
    }
    void emojiShadowIsItsSilhouette()
    {
        QFETCH(QPoint, offset);
        if (!QFontDatabase::families().contains(u"Noto Color Emoji"_qs))
            QSKIP("no colour emoji font installed");
        TextImageSettings s = plain(u"\U0001F600"_qs);
        s.FontSize = 30;
        s.SizeText = u"300"_qs; // the window's shadow lies 24 px off
        s.Shadow = true;
        if (!offset.isNull())
            s.ShadowStyle.offset = offset;
        Surfaces withShadow, without;
        const QImage image = withShadow.render(s).convertToFormat(QImage::Format_RGB32);
        TextImageSettings bare = s;
        bare.Shadow = false;
        const QImage emoji = without.render(bare).convertToFormat(QImage::Format_RGB32);
        const QRect face = boxOf(emoji, [](QRgb p) { return p != white; });
        QVERIFY(!face.isEmpty());
        int shadowPixels = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                if (face.contains(x, y) || p == white)
                    continue;
                ++shadowPixels;
                QVERIFY2(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p),
                         qPrintable(QStringLiteral("(%1, %2) is #%3").arg(x).arg(y).arg(p, 6, 16)));
            }
        QVERIFY(shadowPixels > 50);
    }

    // With a fixed width the picture is exactly the margins plus the width, whatever the effects,
    // and no ink reaches into the margins.
    void fixedWidthHoldsEveryEffect_data()
    {
        QTest::addColumn<TextImageSettings>("settings");
        const QString text = u"A caption long enough to wrap onto a few lines, in italic, with a shadow."_qs;
        auto row = [&](const char* name, auto change) {
            TextImageSettings s = plain(text);
            s.Layout.width = 300;
            s.Layout.wrap = WrapMode::Word;
            s.Margins = {30, 40, 30, 40};
            change(s);
            QTest::newRow(name) << s;
        };
        row("shadow", [](TextImageSettings& s) { s.Shadow = true; });
        row("italic", [](TextImageSettings& s) { s.FontItalic = true; });
        row("italic shadow outlines blur", [](TextImageSettings& s) {
            s.FontItalic = s.Shadow = true;
            s.Outlines = {{2, blue}, {4, green}};
            s.ShadowStyle.blur = 5;
        });
        row("shadow to the left", [](TextImageSettings& s) {
            s.Shadow = true;
            s.ShadowStyle.offset = QPoint(-12, 3);
        });
        row("wide outline, centred", [](TextImageSettings& s) {
            s.Outlines = {{20, blue}};
            s.Layout.align = LineAlignment::Center;
        });
    }
    void fixedWidthHoldsEveryEffect()
    {
        QFETCH(TextImageSettings, settings);
        Surfaces out;
        const QImage image = out.render(settings);
        QCOMPARE(image.width(), 300 + 80);
        const QRect ink = inkBox(image);
        QVERIFY(!ink.isEmpty());
        QVERIFY2(
            ink.left() >= 40 && ink.right() < 340 && ink.top() >= 30 && ink.bottom() < image.height() - 30,
            qPrintable(QStringLiteral("%1,%2 %3x%4").arg(ink.x()).arg(ink.y()).arg(ink.width()).arg(ink.height())));
    }

    // The command's example: 1200 pixels, margins of 30 and 40 and a shadow give 1280 pixels, and
    // a centred line sits in the middle of them.
    void centredTextSitsInTheMiddleOfTheWidth()
    {
        TextImageSettings s = plain(u"Centred within the width"_qs);
        s.Layout.width = 1200;
        s.Layout.wrap = WrapMode::Word;
        s.Layout.align = LineAlignment::Center;
        s.Margins = {30, 40, 30, 40};
        s.Shadow = true;
        Surfaces out;
        const QImage image = out.render(s);
        QCOMPARE(image.width(), 1280);
        const QRect ink = inkBox(image);
        QVERIFY2(std::abs((ink.left() + ink.right()) - (image.width() - 1)) <= 3,
                 qPrintable(QStringLiteral("%1..%2").arg(ink.left()).arg(ink.right())));
    }

    // Italic glyphs lean out of their advances; the room for them keeps them whole, also
    // without a fixed width.
    void italicInkStaysInsideThePicture()
    {
        TextImageSettings s = outlined(u"ffff jjjj"_qs, {{1, blue}});
        s.FontName = QStringLiteral("DejaVu Serif");
        s.FontItalic = true;
        s.FontSize = 30;
        Surfaces out;
        const QImage image = out.render(s);
        const QRect ink = inkBox(image);
        QVERIFY(ink.left() > 0 && ink.right() < image.width() - 1);
    }

    // The frame keeps its one-pixel line on the outer edge, and the outlined text (every line of
    // it) moves one pixel right and down within it, as it would without outlines.
    void frameStaysWholeAroundOutlines()
    {
        TextImageSettings s = outlined(u"Framed\r\nTwo"_qs, {{3, blue}});
        Surfaces bare, out;
        const QImage without = bare.render(s).copy();
        s.Framed = true;
        const QImage image = out.render(s);
        const int w = image.width();
        const int h = image.height();
        QCOMPARE(image.size(), without.size() + QSize(2, 2));
        QCOMPARE(image.copy(1, 1, w - 2, h - 2), without);
        for (int x = 0; x < w; ++x) {
            QCOMPARE(image.pixel(x, 0), qRgb(0, 0, 0));
            QCOMPARE(image.pixel(x, h - 1), qRgb(0, 0, 0));
        }
        for (int y = 0; y < h; ++y) {
            QCOMPARE(image.pixel(0, y), qRgb(0, 0, 0));
            QCOMPARE(image.pixel(w - 1, y), qRgb(0, 0, 0));
        }
    }

    // Without outlines or a look of its own the shadow is the window's, and the picture is sized
    // by the window's shares.
    void windowsShadowIsNotSizedToInk()
    {
        TextImageSettings s = plain(u"Shadow"_qs);
        s.Shadow = true;
        QVERIFY(!sizesToInk(s));
        s.ShadowStyle.blur = 2;
        QVERIFY(sizesToInk(s));
        s.Shadow = false;
        QVERIFY(!sizesToInk(s));
    }
};

QTEST_MAIN(TestOutlinesAndShadows)
#include "tst_outlines_and_shadows.moc"

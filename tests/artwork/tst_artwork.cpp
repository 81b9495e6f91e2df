// The window icon and its installed SVG: the SVG, rendered by another program (librsvg), shows
// the picture the window draws; the picture is opaque palette colours on a clear background.
#include "artwork/Artwork.h"
#include "render/PaletteColor.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace sorvel;

class ArtworkTest : public QObject {
    Q_OBJECT
private slots:
    void svgShowsTheWindowIcon_data()
    {
        QTest::addColumn<int>("size");
        // Whole multiples of the design grid, where every rectangle edge falls between pixels
        // (at 16 or 48 px the two round half-pixel edges differently).
        for (const int size : {32, 64, 256})
            QTest::addRow("%d px", size) << size;
    }
    void svgShowsTheWindowIcon()
    {
        QFETCH(int, size);
        QTemporaryDir dir;
        QFile svg(dir.filePath(QStringLiteral("icon.svg")));
        QVERIFY(svg.open(QIODevice::WriteOnly) && svg.write(artwork::iconSvg()) > 0);
        svg.close();
        const QString png = dir.filePath(QStringLiteral("icon.png"));
        QCOMPARE(QProcess::execute(QStringLiteral("rsvg-convert"), {"-w", QString::number(size), "-h",
                                                                    QString::number(size), "-o", png, svg.fileName()}),
                 0);
        const QImage rendered = QImage(png).convertToFormat(QImage::Format_ARGB32);
        const QImage drawn = artwork::iconPicture(size);
        QCOMPARE(rendered.size(), drawn.size());
        // Both draw without antialiasing; they may differ only where a slanted edge of the
        // letter crosses a pixel centre.
        int differing = 0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x)
                differing += rendered.pixel(x, y) != drawn.pixel(x, y) &&
                             (qAlpha(rendered.pixel(x, y)) || qAlpha(drawn.pixel(x, y)));
        }
        QVERIFY2(differing <= size * size / 100, qPrintable(QStringLiteral("%1 pixels differ").arg(differing)));
    }

    // Every pixel is clear or an opaque palette colour; the magenta square of the colour strip
    // is drawn, not taken for the mask colour (once a hole in the sheet).
    void iconIsOpaquePaletteOnClear()
    {
        const QImage icon = artwork::iconPicture(32);
        QList<QRgb> palette;
        for (int i = 0; i < 16; ++i)
            palette << toQColor(PaletteColor(i)).rgb();
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const QRgb pixel = icon.pixel(x, y);
                QVERIFY2(pixel == 0 || palette.contains(pixel), qPrintable(QStringLiteral("(%1, %2)").arg(x).arg(y)));
            }
        }
        QCOMPARE(icon.pixel(0, 31), QRgb(0));
        QCOMPARE(icon.pixel(25, 24), toQColor(PaletteColor(13)).rgb());
        QCOMPARE(artwork::windowIcon().pixmap(32).toImage().convertToFormat(QImage::Format_ARGB32), icon);
    }
};

QTEST_MAIN(ArtworkTest)
#include "tst_artwork.moc"

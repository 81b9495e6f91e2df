// sorvel-render's layout options, measured from the pixels written: wrapping to a width,
// alignment, margins, transparent backgrounds and font files.
#include "RenderCommandProcess.h"

#include <QTemporaryDir>

using namespace sorvel::test;

namespace {

const QString font = QStringLiteral("DejaVu Sans");

QImage rendered(const QStringList& arguments)
{
    const RenderCommandRun run = runRenderCommand(QStringList{"-o", "-", "--font", font} + arguments);
    if (run.exitCode != 0 || !run.standardError.isEmpty())
        qWarning("%s", run.standardError.constData());
    return QImage::fromData(run.standardOutput, "PNG");
}

// The columns of row band [top, bottom) that hold any pixel other than the background colour.
struct Ink {
    int left = -1;
    int right = -1; // last inked column
};
Ink inkOf(const QImage& image, int top, int bottom)
{
    const QRgb background = image.pixel(image.width() - 1, image.height() - 1);
    Ink ink;
    for (int y = top; y < bottom; ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != background) {
                ink.left = ink.left < 0 ? x : std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
            }
        }
    }
    return ink;
}

int lineHeight()
{
    return rendered({"x"}).height();
}

} // namespace

class RenderLayoutTest : public QObject {
    Q_OBJECT
private slots:
    // How many lines a text takes at a width (the picture is then exactly that wide), and that
    // no line's ink passes the width.
    void wrapping_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("lines");
        QTest::newRow("Latin words") << QStringList{"--width", "120"} << "The quick brown fox jumps over the lazy dog"
                                     << 4;
        QTest::newRow("a word longer than the width") << QStringList{"--width", "60"} << "Incomprehensibilities" << 4;
        QTest::newRow("Japanese without spaces")
            << QStringList{"--width", "100", "--wrap", "word"} << "いろはにほへとちりぬるをわかよたれそ" << 4;
        QTest::newRow("CR LF inside wrapped text")
            << QStringList{"--width", "120"} << "The quick brown\r\nfox jumps over the lazy dog" << 5;
        QTest::newRow("between any characters")
            << QStringList{"--width", "120", "--wrap", "char"} << "The quick brown fox jumps over the lazy dog" << 4;
        QTest::newRow("no wrapping: cut at the edge")
            << QStringList{"--width", "50", "--wrap", "none"} << "The quick brown fox" << 1;
    }
    void wrapping()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, text);
        QFETCH(int, lines);
        const QImage image = rendered(options + QStringList{"--", text});
        const int width = options.at(1).toInt();
        QCOMPARE(image.size(), QSize(width, lines * lineHeight()));
        for (int k = 0; k < lines; ++k)
            QVERIFY(inkOf(image, k * lineHeight(), (k + 1) * lineHeight()).left >= 0);
        if (lines == 1)
            QCOMPARE(inkOf(image, 0, image.height()).right, width - 1); // the rest is cut off
        // Character wrapping fills a line that word wrapping ends before a word.
        if (QTest::currentDataTag() == QByteArray("between any characters"))
            QVERIFY(inkOf(rendered({"--width", "120", "--", text}), 0, lineHeight()).right <
                    inkOf(image, 0, lineHeight()).right - 10);
    }

    // The second line, shorter than the block, sits at the left edge, in the middle or at the
    // right edge of the block, with and without a fixed width.
    void alignment_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<double>("share"); // of the free space left of the line
        for (const auto& [side, share] : {std::pair{"left", 0.0}, {"center", 0.5}, {"right", 1.0}}) {
            QTest::addRow("%s in the widest line", side)
                << QStringList{"--align", side, "--", "A much wider line\nab"} << share;
            QTest::addRow("%s in a width", side)
                << QStringList{"--align", side, "--width", "240", "--", "Wider line\nab"} << share;
        }
    }
    void alignment()
    {
        QFETCH(QStringList, options);
        QFETCH(double, share);
        const QImage image = rendered(options);
        const Ink first = inkOf(image, 0, lineHeight());
        const Ink second = inkOf(image, lineHeight(), 2 * lineHeight());
        const QImage alone = rendered({"ab"});
        const Ink plain = inkOf(alone, 0, lineHeight());
        QVERIFY(first.left >= 0 && second.left >= 0);
        QCOMPARE(second.right - second.left, plain.right - plain.left);
        const int freeSpace = image.width() - alone.width();
        QVERIFY2(std::abs(second.left - plain.left - share * freeSpace) <= 1.5,
                 qPrintable(QStringLiteral("ink at %1, free %2").arg(second.left).arg(freeSpace)));
    }

    // One to four values in CSS order; the picture without margins is found unchanged at the
    // left and top margin; a frame sits on the outer edge.
    void margins_data()
    {
        QTest::addColumn<QString>("margin");
        QTest::addColumn<QList<int>>("trbl");
        QTest::newRow("one") << "10" << QList<int>{10, 10, 10, 10};
        QTest::newRow("two") << "5 7" << QList<int>{5, 7, 5, 7};
        QTest::newRow("three") << "1 2 3" << QList<int>{1, 2, 3, 2};
        QTest::newRow("four") << "1 2 3 4" << QList<int>{1, 2, 3, 4};
    }
    void margins()
    {
        QFETCH(QString, margin);
        QFETCH(QList<int>, trbl);
        const QStringList style{"--background", "14", "--color", "1", "--shadow", "--", "Margins\nmehr"};
        const QImage plain = rendered(style);
        const QImage wide = rendered(QStringList{"--margin", margin} + style);
        QCOMPARE(wide.size(), plain.size() + QSize(trbl[1] + trbl[3], trbl[0] + trbl[2]));
        QCOMPARE(wide.copy(trbl[3], trbl[0], plain.width(), plain.height()), plain);
        QCOMPARE(inkOf(wide, 0, trbl[0]).left, -1);
        QCOMPARE(inkOf(wide, wide.height() - trbl[2], wide.height()).left, -1);

        const QImage framed = rendered(QStringList{"--margin", margin, "--frame"} + style);
        QCOMPARE(framed.size(), wide.size());
        for (const QPoint corner : {QPoint(0, 0), QPoint(framed.width() - 1, framed.height() - 1)})
            QCOMPARE(framed.pixel(corner), qRgb(0, 0, 0x80));
    }

    // With margins a background picture covers the whole final picture, also the strip that
    // italic or shadow widening adds.
    void pictureCoversTheFinalSize()
    {
        QTemporaryDir dir;
        QImage tile(7, 5, QImage::Format_RGB32);
        tile.fill(qRgb(250, 200, 0));
        QVERIFY(tile.save(dir.filePath("tile.png")));
        for (const QString effect : {"--italic", "--shadow"}) {
            const QImage image = rendered({"--margin", "4", "--picture", dir.filePath("tile.png"), effect, "Widened"});
            QVERIFY(!image.isNull());
            for (int y = 0; y < image.height(); ++y)
                QCOMPARE(image.pixel(image.width() - 1, y), qRgb(250, 200, 0));
            for (int x = 0; x < image.width(); ++x)
                QCOMPARE(image.pixel(x, image.height() - 1), qRgb(250, 200, 0));
        }
    }

    // A transparent background: alpha 0 where nothing is drawn, edge pixels in the text's own
    // colour with partial alpha; a translucent one keeps its alpha; formats without alpha are
    // refused without a file.
    void transparency()
    {
        const QImage image = rendered({"--background", "transparent", "--color", "#3366cc", "--size", "24", "Edges"});
        QVERIFY(image.hasAlphaChannel());
        const QImage straight = image.convertToFormat(QImage::Format_ARGB32);
        int edges = 0;
        int opaque = 0;
        for (int y = 0; y < straight.height(); ++y) {
            for (int x = 0; x < straight.width(); ++x) {
                const QRgb p = straight.pixel(x, y);
                if (qAlpha(p) == 0)
                    continue;
                opaque += qAlpha(p) == 255;
                edges += qAlpha(p) < 255;
                QVERIFY2(std::abs(qRed(p) - 0x33) <= 1 && std::abs(qGreen(p) - 0x66) <= 1 &&
                             std::abs(qBlue(p) - 0xcc) <= 1,
                         qPrintable(QStringLiteral("%1,%2: %3").arg(x).arg(y).arg(p, 8, 16)));
            }
        }
        QVERIFY(edges > 50 && opaque > 50);
        QCOMPARE(qAlpha(straight.pixel(0, 0)), 0);

        const QImage translucent = rendered({"--background", "#FF000080", "T"}).convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(translucent.pixel(translucent.width() - 1, 0), qRgba(255, 0, 0, 0x80));

        QTemporaryDir dir;
        for (const QString name : {"a.bmp", "a.gif", "a.jpg"}) {
            const RenderCommandRun run =
                runRenderCommand({"-o", dir.filePath(name), "--background", "transparent", "x"});
            QCOMPARE(run.exitCode, 2);
            QCOMPARE(run.errorLines().size(), 1);
            QVERIFY(run.errorLines().first().contains("no alpha channel"));
        }
        QVERIFY(QDir(dir.path()).isEmpty());
    }

    // A font file draws as the installed font of that file does; one that is no font is
    // refused in one line.
    void fontFile()
    {
        const QString path = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf");
        if (!QFile::exists(path))
            QSKIP("DejaVu Serif is not installed");
        const QImage fromFile =
            QImage::fromData(runRenderCommand({"-o", "-", "--font-file", path, "Serif 字"}).standardOutput);
        QVERIFY(!fromFile.isNull());
        QCOMPARE(fromFile,
                 QImage::fromData(runRenderCommand({"-o", "-", "--font", "DejaVu Serif", "Serif 字"}).standardOutput));

        QTemporaryDir dir;
        const RenderCommandRun bad = runRenderCommand(
            {"-o", dir.filePath("a.png"), "--font-file", QStringLiteral(SORVEL_SOURCE_DIR "/README.md"), "x"});
        QCOMPARE(bad.exitCode, 1);
        QCOMPARE(bad.errorLines().size(), 1);
        QVERIFY(bad.errorLines().first().contains("cannot load font file"));
        QVERIFY(QDir(dir.path()).isEmpty());
    }
};

QTEST_MAIN(RenderLayoutTest)
#include "tst_render_layout.moc"

// Golden pixels: the renderer's pictures for every combination of the three effects, the four
// styles, with and without a background picture, and three texts, plus the layout options,
// compared by hash with the ones recorded in golden/pixels.txt.
//
// Record them again (only when a change of pixels is intended) with
//   SORVEL_RECORD_GOLDEN=1 build/tests/tst_golden_pixels
#include "render/CanvasSurface.h"
#include "render/MeasuringLabel.h"
#include "render/PictureHolder.h"
#include "render/RenderTextImage.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace sorvel;

namespace {

const QString goldenPath = QStringLiteral(SORVEL_SOURCE_DIR "/tests/render/golden/pixels.txt");

struct Text {
    const char* name;
    QString text;
};

const Text texts[] = {
    {"latin", QStringLiteral("Hello, Sorvel! gjy\r\nSecond line")},
    {"japanese", QStringLiteral("文字を絵にする、ソーヴェル。\r\n二行目")},
    {"empty", QString()},
};

// A tile whose pixels differ, so that a shifted tiling changes the hash.
QImage tilePicture()
{
    QImage image(23, 17, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(200 + x, 180 + 3 * y, 150 + ((x * y) & 0x3f)));
    return image;
}

// The picture's size and pixels in one hash that does not depend on the image's row padding.
QByteArray pixelHash(const QImage& image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArray::number(argb.width()) + 'x' + QByteArray::number(argb.height()));
    for (int y = 0; y < argb.height(); ++y)
        hash.addData(QByteArrayView(reinterpret_cast<const char*>(argb.constScanLine(y)),
                                    static_cast<qsizetype>(argb.width()) * 4));
    return hash.result().toHex().left(24);
}

} // namespace

class TestGoldenPixels : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_picture = m_dir.filePath(QStringLiteral("tile.png"));
        QVERIFY(tilePicture().save(m_picture));
        m_bmpPicture = m_dir.filePath(QStringLiteral("tile.bmp"));
        QVERIFY(tilePicture().save(m_bmpPicture));
        m_recording = qEnvironmentVariableIsSet("SORVEL_RECORD_GOLDEN");
        if (m_recording)
            return;
        QFile file(goldenPath);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(goldenPath));
        while (!file.atEnd()) {
            const QList<QByteArray> fields = file.readLine().trimmed().split(' ');
            if (fields.size() == 2)
                m_golden.insert(fields[0], fields[1]);
        }
        QVERIFY(!m_golden.isEmpty());
    }

    // Effects x styles x background picture x texts, each rendered onto the surfaces the
    // previous one left, as the window renders every keystroke.
    void effectsStylesPicturesTexts()
    {
        for (const Text& text : texts)
            for (int picture = 0; picture < 2; ++picture)
                for (int styles = 0; styles < 16; ++styles)
                    for (int effects = 0; effects < 8; ++effects) {
                        TextImageSettings s;
                        s.Text = text.text;
                        s.FontBold = styles & 1;
                        s.FontItalic = styles & 2;
                        s.FontUnderline = styles & 4;
                        s.FontStrikethrough = styles & 8;
                        s.Shadow = effects & 1;
                        s.Rainbow = effects & 2;
                        s.Framed = effects & 4;
                        s.ForeColor = 0x204080;
                        s.BackColor = 0xF0F8FF;
                        if (picture)
                            s.backgroundPicture = m_picture;
                        check(QStringLiteral("%1-picture%2-styles%3-effects%4")
                                  .arg(QLatin1String(text.name))
                                  .arg(picture)
                                  .arg(styles)
                                  .arg(effects),
                              s);
                    }
    }

    // Sizes, a bitmap background, and the options beyond the window.
    void sizesAndLayouts()
    {
        struct Case {
            const char* name;
            void (*set)(TextImageSettings&);
        };
        const Case cases[] = {
            {"size9", [](TextImageSettings& s) { s.FontSize = 9, s.SizeText = QStringLiteral("9"); }},
            {"size48-shadow",
             [](TextImageSettings& s) { s.FontSize = 48, s.SizeText = QStringLiteral("48"), s.Shadow = true; }},
            {"dejavu-bold-italic",
             [](TextImageSettings& s) {
                 s.FontName = QStringLiteral("DejaVu Sans"), s.FontBold = s.FontItalic = true;
             }},
            {"margins-frame-shadow",
             [](TextImageSettings& s) {
                 s.Margins = {5, 10, 15, 20}, s.Framed = s.Shadow = true;
             }},
            {"wrap-word-center",
             [](TextImageSettings& s) {
                 s.Layout.width = 60, s.Layout.wrap = WrapMode::Word, s.Layout.align = LineAlignment::Center;
             }},
            {"wrap-char-right-italic",
             [](TextImageSettings& s) {
                 s.Layout.width = 45, s.Layout.wrap = WrapMode::Character, s.Layout.align = LineAlignment::Right;
                 s.FontItalic = true;
             }},
            {"width-nowrap-margins",
             [](TextImageSettings& s) {
                 s.Layout.width = 30, s.Margins = {2, 2, 2, 2};
             }},
            {"transparent", [](TextImageSettings& s) { s.BackAlpha = 0; }},
            {"half-transparent-rainbow-shadow",
             [](TextImageSettings& s) { s.BackAlpha = 128, s.Rainbow = s.Shadow = true; }},
        };
        for (const Text& text : texts)
            for (const Case& c : cases)
                for (int picture = 0; picture < 3; ++picture) {
                    TextImageSettings s;
                    s.Text = text.text;
                    s.ForeColor = 0x000000;
                    s.BackColor = 0xFFFFFF;
                    c.set(s);
                    if (picture == 1)
                        s.backgroundPicture = m_picture;
                    else if (picture == 2)
                        s.backgroundPicture = m_bmpPicture;
                    check(QStringLiteral("%1-%2-picture%3")
                              .arg(QLatin1String(text.name), QLatin1String(c.name))
                              .arg(picture),
                          s);
                }
    }

    void cleanupTestCase()
    {
        if (!m_recording)
            return;
        QFile file(goldenPath);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        for (const auto& [name, hash] : m_recorded)
            file.write(name + ' ' + hash + '\n');
        qInfo("recorded %d pictures in %s", int(m_recorded.size()), qPrintable(goldenPath));
    }

private:
    void check(const QString& name, const TextImageSettings& s)
    {
        RenderTextImage(s, {m_canvas, m_label, m_holder});
        const QByteArray key = name.toLatin1();
        const QByteArray hash = pixelHash(m_canvas.image());
        if (m_recording) {
            m_recorded.emplace_back(key, hash);
            return;
        }
        QVERIFY2(m_golden.contains(key), key.constData());
        QVERIFY2(m_golden.value(key) == hash, (key + " now draws " + hash).constData());
    }

    QTemporaryDir m_dir;
    QString m_picture;
    QString m_bmpPicture;
    bool m_recording = false;
    QHash<QByteArray, QByteArray> m_golden;
    std::vector<std::pair<QByteArray, QByteArray>> m_recorded;
    CanvasSurface m_canvas;
    MeasuringLabel m_label;
    PictureHolder m_holder;
};

QTEST_MAIN(TestGoldenPixels)
#include "tst_golden_pixels.moc"

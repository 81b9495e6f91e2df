// sorvel-render draws exactly what the window copies: the same settings, made once through the
// window's controls and once through the command line, give the same pixels.
#include "RenderCommandProcess.h"
#include "WindowFixture.h"
#include "app/ColorSwatch.h"
#include "app/MouseUpButton.h"
#include "render/SettingsFromOptions.h"

#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>

using namespace sorvel;
using namespace sorvel::test;

namespace {

// One combination of settings, as the command line spells it.
struct Combination {
    QString text;
    QString font;          // empty: the default font
    QString size;          // empty: the size box as it starts
    QStringList styles;    // "bold", "italic", "underline", "strike"
    QString color;         // empty, a palette index or #RRGGBB
    QString background;
    QString picture;       // empty, "tile.bmp", "tile.jpg" or "clear.png" (with transparent pixels)
    QStringList effects;   // "shadow", "rainbow", "frame"
};

QStringList argumentsFor(const Combination& c, const QString& pictureFolder, const QString& output)
{
    QStringList arguments{QStringLiteral("-o"), output};
    if (!c.font.isEmpty())
        arguments << QStringLiteral("--font") << c.font;
    if (!c.size.isEmpty())
        arguments << QStringLiteral("--size") << c.size;
    for (const QString& style : c.styles)
        arguments << QStringLiteral("--") + style;
    if (!c.color.isEmpty())
        arguments << QStringLiteral("--color") << c.color;
    if (!c.background.isEmpty())
        arguments << QStringLiteral("--background") << c.background;
    if (!c.picture.isEmpty())
        arguments << QStringLiteral("--picture") << pictureFolder + u'/' + c.picture;
    for (const QString& effect : c.effects)
        arguments << QStringLiteral("--") + effect;
    arguments << QStringLiteral("--") << c.text;
    return arguments;
}

void chooseColor(WindowFixture& fixture, const QString& color, Qt::MouseButton button)
{
    SorvelMain& w = *fixture.window;
    if (!color.startsWith(u'#')) {
        QTest::mouseClick(w.Picture2.at(static_cast<std::size_t>(color.toInt())), button);
        return;
    }
    fixture.dialogs->colorDialog.queue(FakeDialogService::chosenColor(*colorFromText(color)));
    QTest::mouseClick(w.Command2, button);
}

// Sets the combination through the controls, as a user would, and copies the picture.
QImage copiedByWindow(const Combination& c, const QString& pictureFolder)
{
    WindowFixture fixture;
    fixture.started();
    SorvelMain& w = *fixture.window;
    w.Text1->setPlainText(c.text);
    if (!c.font.isEmpty()) {
        const int entry = w.Combo1->findText(c.font);
        if (entry < 0)
            return {};
        w.Combo1->setCurrentIndex(entry);
        emit w.Combo1->activated(entry);
    }
    if (!c.size.isEmpty()) {
        QLineEdit* edit = fixture.sizeEdit();
        edit->selectAll();
        QTest::keyClicks(edit, c.size);
    }
    const QStringList styleNames{"bold", "italic", "underline", "strike"};
    for (const QString& style : c.styles)
        w.Check1.at(static_cast<std::size_t>(styleNames.indexOf(style)))->click();
    if (!c.color.isEmpty())
        chooseColor(fixture, c.color, Qt::LeftButton);
    if (!c.background.isEmpty())
        chooseColor(fixture, c.background, Qt::RightButton);
    if (!c.picture.isEmpty()) {
        fixture.dialogs->openFileDialog.queue(FakeDialogService::chosenFile(pictureFolder + u'/' + c.picture));
        QTest::mouseClick(w.Command4, Qt::LeftButton);
    }
    if (c.effects.contains(QStringLiteral("shadow")))
        w.Check2->click();
    if (c.effects.contains(QStringLiteral("rainbow")))
        w.Check3->click();
    if (c.effects.contains(QStringLiteral("frame")))
        w.Check4->click();
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    return fixture.clipboard->image.convertToFormat(QImage::Format_RGB32);
}

void writePictures(const QString& folder)
{
    QImage tile(23, 9, QImage::Format_RGB32);
    for (int y = 0; y < tile.height(); ++y)
        for (int x = 0; x < tile.width(); ++x)
            tile.setPixel(x, y, qRgb(40 + 9 * x, 200 - 15 * y, (x * y) % 256));
    QVERIFY(tile.save(folder + QStringLiteral("/tile.bmp")));
    QVERIFY(tile.save(folder + QStringLiteral("/tile.jpg"), "JPEG", 90));
    // Transparent pixels show the holder's button-face colour.
    QImage clear(17, 13, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    QPainter painter(&clear);
    painter.fillRect(2, 2, 8, 6, QColor(200, 30, 30, 128));
    painter.fillRect(9, 5, 6, 6, QColor(30, 30, 200));
    painter.end();
    QVERIFY(clear.save(folder + QStringLiteral("/clear.png")));
}

} // namespace

Q_DECLARE_METATYPE(Combination)

class RenderCommandWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY2(QFileInfo(renderCommandPath()).isExecutable(), qPrintable(renderCommandPath()));
        QVERIFY(m_pictures.isValid());
        writePictures(m_pictures.path());
    }

    void commandDrawsWhatTheWindowCopies_data()
    {
        QTest::addColumn<Combination>("combination");
        const QStringList all{"bold", "italic", "underline", "strike"};
        QTest::newRow("plain") << Combination{"Sorvel", {}, {}, {}, {}, {}, {}, {}};
        QTest::newRow("every style") << Combination{"Styles & more", {}, {}, all, {}, {}, {}, {}};
        QTest::newRow("italic alone widens") << Combination{"Italic", {}, {}, {"italic"}, {}, {}, {}, {}};
        QTest::newRow("shadow at a typed size")
            << Combination{"Shadow\ntwo lines", {}, "24", {}, {}, {}, {}, {"shadow"}};
        QTest::newRow("shadow offset from a fractional size")
            << Combination{"Half", {}, "12.5", {"italic"}, {}, {}, {}, {"shadow"}};
        QTest::newRow("rainbow over lines")
            << Combination{"虹色\r\nrainbow\rcolours", {}, {}, {}, {}, {}, {}, {"rainbow"}};
        QTest::newRow("frame in a palette colour on an exact background")
            << Combination{"Framed", {}, {}, {}, "12", "#203040", {}, {"frame"}};
        QTest::newRow("bitmap picture tiled")
            << Combination{"Tiled background", {}, "20", {"bold"}, "#ffee00", {}, "tile.bmp", {}};
        QTest::newRow("jpeg picture with shadow")
            << Combination{"JPEG tiles", {}, {}, {}, {}, {}, "tile.jpg", {"shadow", "frame"}};
        QTest::newRow("png picture with transparency")
            << Combination{"Transparent PNG", {}, {}, {}, "15", "1", "clear.png", {}};
        QTest::newRow("japanese")
            << Combination{"日本語のテキスト、半角カナｶﾅと漢字", {}, "18", {}, {}, {}, {}, {}};
        QTest::newRow("another font with everything")
            << Combination{"All at once\nフォント", "DejaVu Serif", "30", all, "4", "14", "tile.bmp",
                           {"shadow", "rainbow", "frame"}};
    }
    void commandDrawsWhatTheWindowCopies()
    {
        QFETCH(Combination, combination);
        QTemporaryDir out;
        const QString path = out.filePath(QStringLiteral("picture.png"));
        const RenderCommandRun run = runRenderCommand(argumentsFor(combination, m_pictures.path(), path));
        QVERIFY2(run.finished && run.exitCode == 0, run.standardError.constData());
        QVERIFY2(run.standardError.isEmpty(), run.standardError.constData());

        const QImage window = copiedByWindow(combination, m_pictures.path());
        QVERIFY(!window.isNull());
        const QImage command = canvasImageOf(path);
        QCOMPARE(command.size(), window.size());
        QVERIFY(command == window);
    }

private:
    QTemporaryDir m_pictures;
};

QTEST_MAIN(RenderCommandWindowTest)
#include "tst_render_command_window.moc"

// sorvel-render draws exactly what the window copies: the same settings, made once through the
// window's controls and once through the command line, give the same pixels.
#include "RenderCommandProcess.h"
#include "WindowFixture.h"
#include "app/ColorSwatch.h"
#include "app/MouseUpButton.h"
#include "render/SettingsFromOptions.h"

#include <QPainter>
#include <QTemporaryDir>

using namespace sorvel;
using namespace sorvel::test;

namespace {

void chooseColor(WindowFixture& fixture, const QString& color, Qt::MouseButton button)
{
    if (!color.startsWith(u'#'))
        return QTest::mouseClick(fixture.window->Picture2.at(color.toUInt()), button);
    fixture.dialogs->colorDialog.queue(FakeDialogService::chosenColor(*colorFromText(color)));
    QTest::mouseClick(fixture.window->Command2, button);
}

// Makes the settings of the command's options through the controls, as a user would, and copies.
QImage copiedByWindow(const QStringList& options)
{
    WindowFixture fixture;
    SorvelMain& w = *fixture.window;
    const QStringList styles{"--bold", "--italic", "--underline", "--strike"};
    const QMap<QString, QCheckBox*> effects{{"--shadow", w.Check2}, {"--rainbow", w.Check3}, {"--frame", w.Check4}};
    for (auto option = options.begin(); option != options.end(); ++option) {
        if (styles.contains(*option)) {
            w.Check1.at(static_cast<std::size_t>(styles.indexOf(*option)))->click();
        } else if (effects.contains(*option)) {
            effects[*option]->click();
        } else if (*option == u"--") {
            w.Text1->setPlainText(*++option);
        } else if (*option == u"--font") {
            const int entry = w.Combo1->findText(*++option);
            if (entry < 0)
                return {};
            w.Combo1->setCurrentIndex(entry);
            emit w.Combo1->activated(entry);
        } else if (*option == u"--size") {
            fixture.sizeEdit()->selectAll();
            QTest::keyClicks(fixture.sizeEdit(), *++option);
        } else if (*option == u"--color" || *option == u"--background") {
            const Qt::MouseButton button = *option == u"--color" ? Qt::LeftButton : Qt::RightButton;
            chooseColor(fixture, *++option, button);
        } else if (*option == u"--picture") {
            fixture.dialogs->openFileDialog.queue(FakeDialogService::chosenFile(*++option));
            QTest::mouseClick(w.Command4, Qt::LeftButton);
        }
    }
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    return fixture.clipboard->image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

class RenderCommandWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_pictures.isValid());
        QImage tile(23, 9, QImage::Format_RGB32);
        for (int y = 0; y < tile.height(); ++y)
            for (int x = 0; x < tile.width(); ++x)
                tile.setPixel(x, y, qRgb(40 + 9 * x, 200 - 15 * y, (x * y) % 256));
        QVERIFY(tile.save(m_pictures.filePath(QStringLiteral("tile.bmp"))));
        // Transparent pixels show the holder's button-face colour.
        QImage clear(17, 13, QImage::Format_ARGB32);
        clear.fill(Qt::transparent);
        QPainter painter(&clear);
        painter.fillRect(2, 2, 8, 6, QColor(200, 30, 30, 128));
        painter.fillRect(9, 5, 6, 6, QColor(30, 30, 200));
        painter.end();
        QVERIFY(clear.save(m_pictures.filePath(QStringLiteral("clear.png"))));
    }

    void commandDrawsWhatTheWindowCopies_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::newRow("plain") << QStringList{"--", "Sorvel"};
        QTest::newRow("every style") << QStringList{"--bold", "--italic", "--underline", "--strike", "--", "Styles & more"};
        QTest::newRow("shadow offset from a fractional size") << QStringList{"--size", "12.5", "--italic", "--shadow", "--", "Half"};
        QTest::newRow("rainbow over lines") << QStringList{"--rainbow", "--", "虹色\r\nrainbow\rcolours"};
        QTest::newRow("frame in a palette colour on an exact background")
            << QStringList{"--color", "12", "--background", "#203040", "--frame", "--", "Framed"};
        QTest::newRow("bitmap picture tiled")
            << QStringList{"--size", "20", "--bold", "--color", "#ffee00", "--picture", "{dir}/tile.bmp", "--", "Tiled\ntwo lines"};
        QTest::newRow("png picture with transparency")
            << QStringList{"--color", "15", "--background", "1", "--picture", "{dir}/clear.png", "--", "Transparent PNG"};
        QTest::newRow("japanese") << QStringList{"--size", "18", "--", "日本語のテキスト、半角カナｶﾅと漢字"};
        QTest::newRow("another font with everything")
            << QStringList{"--font", "DejaVu Serif", "--size", "30", "--bold", "--italic", "--underline", "--strike", "--color", "4",
                           "--background", "14", "--picture", "{dir}/tile.bmp", "--shadow", "--rainbow", "--frame", "--", "All\nフォント"};
    }
    void commandDrawsWhatTheWindowCopies()
    {
        QFETCH(QStringList, options);
        options.replaceInStrings(QStringLiteral("{dir}"), m_pictures.path());
        const RenderCommandRun run = runRenderCommand(QStringList{"-o", "-"} + options);
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.standardError.isEmpty(), run.standardError.constData());
        const QImage command = canvasImageOf(run.standardOutput);
        const QImage window = copiedByWindow(options);
        QVERIFY(!window.isNull());
        QCOMPARE(command.size(), window.size());
        QVERIFY(command == window);
    }

private:
    QTemporaryDir m_pictures;
};

QTEST_MAIN(RenderCommandWindowTest)
#include "tst_render_command_window.moc"

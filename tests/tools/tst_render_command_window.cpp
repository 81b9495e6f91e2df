// sorvel-render draws exactly what the window copies: the same settings, made once through the
// window's controls and once through the command line, give the same pixels.
#include "RenderCommandProcess.h"
#include "support/WindowFixture.h"
#include "app/ColorSwatch.h"
#include "app/ReleaseReportingButton.h"

#include <QPainter>
#include <QTemporaryDir>

using namespace sorvel;
using namespace sorvel::test;
using Style = SorvelMainTestView::Style;

namespace {

// Makes the settings of the command's options through the controls, as a user would, and copies.
QImage copiedByWindow(const QStringList& options)
{
    WindowFixture fixture;
    SorvelMain& w = *fixture.window;
    const SorvelMainTestView v(w);
    const QStringList toggles{"--bold", "--italic", "--underline", "--strike", "--shadow", "--rainbow", "--frame"};
    QAbstractButton* const buttons[] = {v.styleButton(Style::Bold),
                                        v.styleButton(Style::Italic),
                                        v.styleButton(Style::Underline),
                                        v.styleButton(Style::Strikethrough),
                                        v.shadowBox(),
                                        v.rainbowBox(),
                                        v.frameBox()};
    for (qsizetype i = 0; i < options.size(); ++i) {
        const QString& option = options[i];
        const QString value = options.value(i + 1);
        if (toggles.contains(option)) {
            buttons[toggles.indexOf(option)]->click();
        } else if (option == u"--") {
            v.textBox()->setPlainText(value);
        } else if (option == u"--font") {
            v.fontList()->setCurrentIndex(v.fontList()->findText(value));
            emit v.fontList()->activated(v.fontList()->currentIndex());
        } else if (option == u"--size") {
            fixture.sizeEdit()->selectAll();
            QTest::keyClicks(fixture.sizeEdit(), value);
        } else if (option == u"--color" || option == u"--background") {
            const bool fromDialog = value.startsWith(u'#');
            if (fromDialog)
                fixture.dialogs->colorDialog.queue(FakeDialogService::chosenColor(fromQColor(QColor(value))));
            QWidget* button = fromDialog ? static_cast<QWidget*>(v.otherColorButton()) : v.swatch(value.toInt());
            QTest::mouseClick(button, option == u"--color" ? Qt::LeftButton : Qt::RightButton);
        } else if (option == u"--picture") {
            fixture.dialogs->openFileDialog.queue(FakeDialogService::chosenFile(value));
            QTest::mouseClick(v.backgroundButton(), Qt::LeftButton);
        }
    }
    QTest::mouseClick(v.copyButton(), Qt::LeftButton);
    return fixture.clipboard->image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

class RenderCommandWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // Transparent pixels show the holder's button-face colour.
        QImage clear(17, 13, QImage::Format_ARGB32);
        clear.fill(Qt::transparent);
        QPainter(&clear).fillRect(2, 2, 8, 6, QColor(200, 30, 30, 128));
        QVERIFY(m_pictures.isValid() && clear.save(m_pictures.filePath(QStringLiteral("clear.png"))));
    }

    void commandDrawsWhatTheWindowCopies_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::newRow("every style, shadow, fractional size") << QStringList{
            "--size", "12.5", "--bold", "--italic", "--underline", "--strike", "--shadow", "--", "Styles"};
        QTest::newRow("rainbow over lines, japanese")
            << QStringList{"--size", "18", "--rainbow", "--", "虹色\r\nrainbow\r日本語、半角カナｶﾅと漢字"};
        QTest::newRow("frame, dialog colour, picture with transparency") << QStringList{
            "--color", "#ffee00", "--background", "1", "--frame", "--picture", "{dir}/clear.png", "--", "Clear\nlines"};
        QTest::newRow("empty text, framed") << QStringList{"--frame", "--rainbow", "--", ""};
        QTest::newRow("another font with everything") << QStringList{
            "--font",   "DejaVu Serif", "--size",  "30",           "--bold",       "--italic",  "--underline",
            "--strike", "--color",      "4",       "--background", "#203040",      "--picture", "{dir}/clear.png",
            "--shadow", "--rainbow",    "--frame", "--",           "All\nフォント"};
    }
    void commandDrawsWhatTheWindowCopies()
    {
        QFETCH(QStringList, options);
        options.replaceInStrings(QStringLiteral("{dir}"), m_pictures.path());
        const RenderCommandRun run = runRenderCommand(QStringList{"-o", "-"} + options);
        QVERIFY2(run.exitCode == 0 && run.standardError.isEmpty(), run.standardError.constData());
        QCOMPARE(canvasImageOf(run.standardOutput), copiedByWindow(options));
    }

private:
    QTemporaryDir m_pictures;
};

QTEST_MAIN(RenderCommandWindowTest)
#include "tst_render_command_window.moc"

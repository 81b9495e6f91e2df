// The colour frame, copy, save and background buttons of the real window, and closing it, with
// fake dialogs, clipboard and message box.
#include "support/WindowFixture.h"
#include "app/ColorSwatch.h"
#include "app/ReleaseReportingButton.h"
#include "render/PaletteColor.h"
#include "support/FileSizeLimit.h"

#include <optional>

using namespace sorvel;
using namespace sorvel::test;

class ColorsAndOutputTest : public QObject {
    Q_OBJECT
private slots:
    // A swatch gives the text colour to the left button, the background to any other, and
    // renders once; the colour dialog routes the same way but renders nothing until the next
    // copy, and keeps its custom colours for the next time.
    void colourRouting()
    {
        for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
            WindowFixture fixture;
            TextImageSettings expected = fixture.window->currentSettings();
            (button == Qt::LeftButton ? expected.ForeColor : expected.BackColor) = PaletteColor(12);
            QTest::mouseClick(fixture.view().swatch(12), button);
            QCOMPARE(fixture.renders, std::vector{expected});
        }
        WindowFixture fixture;
        SorvelMain& w = *fixture.window;
        const SorvelMainTestView v(w);
        QTest::mouseClick(v.otherColorButton(), Qt::RightButton); // cancelled
        CustomColors custom{};
        custom[3] = rgbColor(0, 255, 0);
        fixture.dialogs->colorDialog.queue(FakeDialogService::chosenColor(rgbColor(255, 0, 0), custom));
        QTest::mouseClick(v.otherColorButton(), Qt::LeftButton);
        fixture.dialogs->colorDialog.queue(FakeDialogService::chosenColor(rgbColor(0, 0, 255)));
        QTest::mouseClick(v.otherColorButton(), Qt::RightButton);
        QCOMPARE(fixture.dialogs->colorDialog.last()->customColors[3], rgbColor(0, 255, 0));
        QTest::mouseClick(v.copyButton(), Qt::LeftButton); // the only rendering
        QCOMPARE(fixture.renderedList(&TextImageSettings::ForeColor), QList<ColorValue>{rgbColor(255, 0, 0)});
        QCOMPARE(fixture.renderedList(&TextImageSettings::BackColor), QList<ColorValue>{rgbColor(0, 0, 255)});
    }

    // Copy puts the whole canvas on the clipboard, also what the preview cannot show. A failed
    // copy is reported and the window goes on; inside a save it is not reported, the save goes on.
    void copyPutsTheWholeCanvasOnTheClipboard()
    {
        WindowFixture fixture;
        SorvelMain& w = *fixture.window;
        const SorvelMainTestView v(w);
        QTest::keyClicks(v.textBox(), QString(300, u'W'));
        QTest::mouseClick(v.copyButton(), Qt::LeftButton);
        QCOMPARE(fixture.clipboard->calls, QStringList({"clear", "setImage"}));
        QCOMPARE(fixture.clipboard->image, w.canvas().image());
        QVERIFY(fixture.clipboard->image.width() > v.viewport()->width());
        fixture.clipboard->failSetImage = true;
        QTest::mouseClick(v.copyButton(), Qt::LeftButton);
        QCOMPARE(fixture.messages->errors.size(), 1);
        QTest::mouseClick(v.saveButton(), Qt::LeftButton);
        QCOMPARE(fixture.messages->errors.size(), 1);
        QCOMPARE(fixture.dialogs->saveFileDialog.calls(), 1);
    }

    // Every save first renders and copies, even when the dialog is then cancelled, proposes the
    // text as the name, and writes the canvas; ".jpg" asks for the quality. A failed save is
    // shown and leaves the old file as it was.
    void save()
    {
        for (const auto& [file, fullDisk] :
             {std::pair{"", false}, {"画像.PNG", false}, {"a.Jpg", false}, {"old.bmp", true}}) {
            const QString name = QString::fromUtf8(file); // empty: the dialog is cancelled
            QTemporaryDir dir;
            const QString path = dir.filePath(name);
            QImage old(400, 400, QImage::Format_RGB32);
            old.fill(Qt::darkGreen);
            QVERIFY(!fullDisk || old.save(path));
            WindowFixture fixture;
            SorvelMain& w = *fixture.window;
            const SorvelMainTestView v(w);
            QTest::keyClicks(v.textBox(), QStringLiteral("Save me"));
            fixture.renders.clear();
            if (!name.isEmpty())
                fixture.dialogs->saveFileDialog.queue(FakeDialogService::chosenFile(path));
            fixture.dialogs->inputPrompt.queue(QStringLiteral(" 75 "));
            {
                std::optional<FileSizeLimit> limit;
                QVERIFY(!fullDisk || limit.emplace(64).active());
                QTest::mouseClick(v.saveButton(), Qt::LeftButton);
            }
            QCOMPARE(fixture.renderCount(), 1);
            QCOMPARE(fixture.clipboard->image, w.canvas().image());
            QCOMPARE(fixture.dialogs->saveFileDialog.last()->initialName, QStringLiteral("Save me"));
            const bool jpeg = name.endsWith(QStringLiteral("jpg"), Qt::CaseInsensitive);
            QCOMPARE(fixture.dialogs->inputPrompt.calls(), jpeg ? 1 : 0);
            QCOMPARE(fixture.messages->errors.size(), fullDisk ? 1 : 0);
            const QImage saved = QImage(path).convertToFormat(QImage::Format_RGB32);
            if (fullDisk)
                QCOMPARE(saved, old);
            else if (name.isEmpty())
                QVERIFY(QDir(dir.path()).isEmpty());
            else
                QVERIFY2(jpeg ? saved.size() == w.canvas().image().size() : saved == w.canvas().image(), file);
        }
    }

    // An empty text still makes a picture one line high and two pixels wide: a frame covers it,
    // copy places it on the clipboard and save writes it. The rainbow has nothing to colour.
    void emptyText_data()
    {
        QTest::addColumn<bool>("framed");
        QTest::addColumn<bool>("rainbow");
        QTest::newRow("plain") << false << false;
        QTest::newRow("framed") << true << false;
        QTest::newRow("framed rainbow") << true << true;
    }
    void emptyText()
    {
        QFETCH(bool, framed);
        QFETCH(bool, rainbow);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("empty.png"));
        WindowFixture fixture;
        SorvelMain& w = *fixture.window;
        const SorvelMainTestView v(w);
        v.rainbowBox()->setChecked(rainbow);
        v.frameBox()->setChecked(framed);
        QTest::keyClicks(v.textBox(), QStringLiteral("x"));
        const int lineHeight = w.canvas().scaleHeight();
        QTest::keyClick(v.textBox(), Qt::Key_Backspace);
        QVERIFY(v.textBox()->toPlainText().isEmpty());

        QTest::mouseClick(v.copyButton(), Qt::LeftButton);
        const QImage image = w.canvas().image();
        QCOMPARE(image.height(), lineHeight);
        QVERIFY2(image.width() >= 2, qPrintable(QString::number(image.width())));
        const QColor edge =
            framed ? toQColor(fixture.lastRender().ForeColor) : toQColor(fixture.lastRender().BackColor);
        for (int y = 0; y < image.height(); ++y)
            QVERIFY(image.pixel(0, y) == edge.rgb() && image.pixel(image.width() - 1, y) == edge.rgb());
        QCOMPARE(fixture.clipboard->calls, QStringList({"clear", "setImage"}));
        QCOMPARE(fixture.clipboard->image, image);

        fixture.dialogs->saveFileDialog.queue(FakeDialogService::chosenFile(path));
        QTest::mouseClick(v.saveButton(), Qt::LeftButton);
        QVERIFY2(fixture.messages->errors.isEmpty(), qPrintable(fixture.messages->errors.value(0).text));
        QCOMPARE(QImage(path).convertToFormat(QImage::Format_RGB32), image);
    }

    // A chosen picture renders after the copy that every click makes; a cancel clears it, and
    // the preview keeps it until the next rendering. The dialog proposes the file saved last.
    void backgroundPicture()
    {
        QTemporaryDir dir;
        const QString picture = dir.filePath(QStringLiteral("tile.bmp"));
        const QString saved = dir.filePath(QStringLiteral("saved.png"));
        QImage tile(4, 4, QImage::Format_RGB32);
        tile.fill(qRgb(0, 0, 255));
        QVERIFY(tile.save(picture));
        WindowFixture fixture;
        SorvelMain& w = *fixture.window;
        const SorvelMainTestView v(w);
        QTest::keyClicks(v.textBox(), QStringLiteral("    "));
        fixture.dialogs->saveFileDialog.queue(FakeDialogService::chosenFile(saved));
        QTest::mouseClick(v.saveButton(), Qt::LeftButton);
        fixture.renders.clear();
        fixture.dialogs->openFileDialog.queue(FakeDialogService::chosenFile(picture));
        QTest::mouseClick(v.backgroundButton(), Qt::LeftButton);
        QCOMPARE(fixture.dialogs->openFileDialog.last()->initialName, saved);
        QTest::mouseClick(v.backgroundButton(), Qt::LeftButton);
        QCOMPARE(fixture.dialogs->openFileDialog.last()->initialName, picture);
        QCOMPARE(w.canvas().image().pixel(1, 1), qRgb(0, 0, 255));
        QTest::mouseClick(v.copyButton(), Qt::LeftButton);
        QCOMPARE(fixture.renderedList(&TextImageSettings::backgroundPicture), QStringList({"", picture, picture, ""}));
    }

    // Closing ends the program at once, without a question or a rendering, and hands the
    // copied image over while the clipboard still holds it.
    void closing()
    {
        for (const auto& [copied, takenAway] : {std::pair{true, false}, {true, true}, {false, false}}) {
            WindowFixture fixture;
            QTest::keyClicks(fixture.view().textBox(), QStringLiteral("keep"));
            if (copied)
                QTest::mouseClick(fixture.view().copyButton(), Qt::LeftButton);
            const QImage onClipboard = fixture.clipboard->image;
            QTest::keyClicks(fixture.view().textBox(), QStringLiteral(" more")); // the clipboard keeps the copy
            fixture.clipboard->takenByAnotherProgram = takenAway;
            const int rendersBefore = fixture.renderCount();
            QVERIFY(fixture.window->close());
            QCOMPARE(fixture.events, QStringList({"before end", "end"}));
            QCOMPARE(fixture.renderCount(), rendersBefore);
            QCOMPARE(fixture.keptImages, copied && !takenAway ? std::vector{onClipboard} : std::vector<QImage>{});
        }
    }
};

QTEST_MAIN(ColorsAndOutputTest)
#include "tst_colors_and_output.moc"

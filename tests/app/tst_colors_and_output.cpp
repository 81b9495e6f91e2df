// The colour frame, copy, save and background buttons of the real window, with fake dialogs,
// clipboard and message box.
#include "WindowFixture.h"
#include "app/ColorSwatch.h"
#include "app/MouseUpButton.h"
#include "output/SaveTexts.h"
#include "render/PaletteColor.h"
#include "support/FileSizeLimit.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QtTest>

#include <optional>

using namespace sorvel;
using namespace sorvel::test;

namespace {

bool containsColor(const QImage& image, QRgb color)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == color)
                return true;
    return false;
}

void typeText(SorvelMain& w, const QString& text)
{
    w.Text1->setFocus();
    QTest::keyClicks(w.Text1, text);
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class ColorsAndOutputTest : public QObject {
    Q_OBJECT
private slots:
    void swatchButtonChoosesTheColour_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<bool>("textColour");
        QTest::newRow("left: text") << Qt::LeftButton << true;
        QTest::newRow("right: background") << Qt::RightButton << false;
        QTest::newRow("middle: background") << Qt::MiddleButton << false;
    }
    void swatchButtonChoosesTheColour()
    {
        QFETCH(Qt::MouseButton, button);
        QFETCH(bool, textColour);
        WindowFixture fixture;
        fixture.started();
        SorvelMain& w = *fixture.window;
        const ColorValue foreBefore = w.canvas().foreColor();
        const ColorValue backBefore = w.canvas().backColor();
        QTest::mouseClick(w.Picture2[12], button);
        QCOMPARE(fixture.renderCount(), 1);
        const ColorValue red = PaletteColor(12);
        QCOMPARE(fixture.lastRender().ForeColor, textColour ? red : foreBefore);
        QCOMPARE(fixture.lastRender().BackColor, textColour ? backBefore : red);
        QCOMPARE(fixture.dialogs->totalCalls(), 0);
    }

    void dialogColourReachesTheNextCopyWithoutRendering()
    {
        WindowFixture fixture;
        fixture.started();
        SorvelMain& w = *fixture.window;
        typeText(w, QStringLiteral("HHH"));
        fixture.renders.clear();
        const ColorValue fore = w.canvas().foreColor();
        const ColorValue back = w.canvas().backColor();

        // Cancelled with either button: nothing changes.
        QTest::mouseClick(w.Command2, Qt::LeftButton);
        QTest::mouseClick(w.Command2, Qt::RightButton);
        QCOMPARE(fixture.dialogs->colorDialog.calls(), 2);
        QCOMPARE(w.canvas().foreColor(), fore);
        QCOMPARE(w.canvas().backColor(), back);

        CustomColors custom{};
        custom[3] = rgbColor(0, 255, 0);
        fixture.dialogs->colorDialog.queue(FakeDialogService::chosenColor(rgbColor(255, 0, 0), custom));
        QTest::mouseClick(w.Command2, Qt::LeftButton);
        QCOMPARE(fixture.renderCount(), 0);
        QCOMPARE(fixture.dialogs->colorDialog.last()->owner, w.Text1);

        // Right button: the background, from the same dialog object with its custom colours.
        fixture.dialogs->colorDialog.queue(FakeDialogService::chosenColor(rgbColor(0, 0, 255)));
        QTest::mouseClick(w.Command2, Qt::RightButton);
        QCOMPARE(fixture.dialogs->colorDialog.calls(), 4);
        QCOMPARE(fixture.dialogs->colorDialog.last()->customColors[3], rgbColor(0, 255, 0));
        QCOMPARE(fixture.renderCount(), 0);

        QTest::mouseClick(w.Command1, Qt::LeftButton);
        QCOMPARE(fixture.renderCount(), 1);
        const QImage copied = fixture.clipboard->image;
        QCOMPARE(copied, w.canvas().image());
        QCOMPARE(copied.pixel(0, 0), qRgb(0, 0, 255));
        QVERIFY(containsColor(copied, qRgb(255, 0, 0)));
    }

    void copyPutsTheWholeCanvasOnTheClipboard()
    {
        WindowFixture fixture;
        fixture.started();
        SorvelMain& w = *fixture.window;
        typeText(w, QString(300, u'W'));   // far wider than the preview
        w.Check4->click();
        fixture.clipboard->calls.clear();
        QTest::mouseClick(w.Command1, Qt::LeftButton);
        QCOMPARE(fixture.clipboard->calls, QStringList({"clear", "setImage"}));
        QCOMPARE(fixture.clipboard->image, w.canvas().image());
        QVERIFY(fixture.clipboard->image.width() > w.Picture4->width());
        QVERIFY(fixture.messages->errors.isEmpty());

        // A failed copy is reported, and the window goes on; inside a save it is not
        // reported, and the save goes on.
        fixture.clipboard->failSetImage = true;
        QTest::mouseClick(w.Command1, Qt::LeftButton);
        QCOMPARE(fixture.messages->errors.size(), 1);
        QTest::mouseClick(w.Command3, Qt::LeftButton);
        QCOMPARE(fixture.messages->errors.size(), 1);
        QCOMPARE(fixture.dialogs->saveFileDialog.calls(), 1);
    }

    // Every save first replaces the clipboard with the canvas, even when the dialog is then
    // cancelled; the file holds the canvas; only ".jpg" asks for the quality. A failed save is
    // shown and leaves the old file as it was.
    void save_data()
    {
        QTest::addColumn<QString>("name");   // empty: the dialog is cancelled
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("outcome");   // "written", "nothing", "full disk" or "folder"
        QTest::newRow("cancelled") << "" << QString() << "nothing";
        QTest::newRow("png") << "画像.PNG" << QString() << "written";
        QTest::newRow("bmp") << "a.bmp" << QString() << "written";
        QTest::newRow("gif name, bitmap bytes") << "a.gif" << QString() << "written";
        QTest::newRow("jpg at 75") << "a.Jpg" << " 75 " << "written";
        QTest::newRow("jpg cancelled") << "a.jpg" << "" << "nothing";
        QTest::newRow("jpeg ending") << "a.jpeg" << QString() << "nothing";
        QTest::newRow("full disk keeps the old file") << "old.png" << QString() << "full disk";
        QTest::newRow("folder in place of the file") << ".png" << QString() << "folder";
    }
    void save()
    {
        QFETCH(QString, name);
        QFETCH(QString, answer);
        QFETCH(QString, outcome);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        if (outcome == u"full disk") {
            QImage old(400, 400, QImage::Format_RGB32);
            old.fill(Qt::darkGreen);
            QVERIFY(old.save(path));
        } else if (outcome == u"folder") {
            QVERIFY(QDir(dir.path()).mkdir(name));
        }
        const QByteArray before = fileBytes(path);
        WindowFixture fixture;
        fixture.started();
        SorvelMain& w = *fixture.window;
        typeText(w, QStringLiteral("Save me"));
        fixture.renders.clear();
        if (!name.isEmpty())
            fixture.dialogs->saveFileDialog.queue(FakeDialogService::chosenFile(path));
        fixture.dialogs->inputPrompt.queue(answer);
        {
            std::optional<FileSizeLimit> fullDisk;
            if (outcome == u"full disk")
                QVERIFY(fullDisk.emplace(64).active());
            QTest::mouseClick(w.Command3, Qt::LeftButton);
        }

        QCOMPARE(fixture.renderCount(), 1);
        QCOMPARE(fixture.clipboard->calls, QStringList({"clear", "setImage"}));
        QCOMPARE(fixture.clipboard->image, w.canvas().image());
        const auto request = fixture.dialogs->saveFileDialog.last();
        QVERIFY(request.has_value());
        QCOMPARE(request->title, std::optional<QString>(saveDialogTitle));
        QCOMPARE(request->initialName, QStringLiteral("Save me"));
        QCOMPARE(request->nameFilters.size(), 4);
        QCOMPARE(request->selectedNameFilter, request->nameFilters.first());
        QCOMPARE(request->initialDir, QDir::currentPath());
        const bool jpeg = name.endsWith(QStringLiteral("jpg"), Qt::CaseInsensitive);
        QCOMPARE(fixture.dialogs->inputPrompt.calls(), jpeg ? 1 : 0);
        if (jpeg) {
            const auto prompt = fixture.dialogs->inputPrompt.last();
            QCOMPARE(prompt->title, jpegPromptTitle);
            QCOMPARE(prompt->prompt, jpegPromptText);
            QCOMPARE(prompt->defaultAnswer, QStringLiteral("50"));
        }

        if (outcome == u"full disk" || outcome == u"folder") {
            QCOMPARE(fixture.messages->errors.size(), 1);
            QVERIFY(fixture.messages->errors.first().text.startsWith(saveFailedHeading));
            QCOMPARE(fileBytes(path), before);
            return;
        }
        QVERIFY(fixture.messages->errors.isEmpty());
        QCOMPARE(QDir(dir.path()).isEmpty(), outcome == u"nothing");
        if (outcome == u"nothing")
            return;
        const QImage saved(path);
        QCOMPARE(saved.size(), w.canvas().image().size());
        if (!jpeg)
            QCOMPARE(saved.convertToFormat(QImage::Format_RGB32), w.canvas().image());
    }

    void backgroundChoiceAndCancel()
    {
        QTemporaryDir dir;
        QImage tile(4, 4, QImage::Format_RGB32);
        tile.fill(qRgb(0, 0, 255));
        const QString picture = dir.filePath(QStringLiteral("tile.bmp"));
        QVERIFY(tile.save(picture));

        WindowFixture fixture;
        fixture.started();
        SorvelMain& w = *fixture.window;
        typeText(w, QStringLiteral("          "));
        fixture.renders.clear();
        fixture.dialogs->openFileDialog.queue(FakeDialogService::chosenFile(picture));
        QTest::mouseClick(w.Command4, Qt::LeftButton);
        QCOMPARE(w.strBackImage, picture);
        QCOMPARE(fixture.renderCount(), 2);   // the copy, then the picture
        QCOMPARE(w.canvas().image().pixel(1, 1), qRgb(0, 0, 255));
        const auto request = fixture.dialogs->openFileDialog.last();
        QCOMPARE(request->title, std::optional<QString>(QStringLiteral("背景画像の選択")));
        QCOMPARE(request->nameFilters.size(), 5);
        QCOMPARE(request->selectedNameFilter, request->nameFilters.first());

        // Cancel: no rendering after the copy; the preview keeps the picture until the next.
        QTest::mouseClick(w.Command4, Qt::LeftButton);
        QCOMPARE(fixture.renderCount(), 3);
        QVERIFY(w.strBackImage.isEmpty());
        QCOMPARE(w.canvas().image().pixel(1, 1), qRgb(0, 0, 255));
        QCOMPARE(fixture.dialogs->openFileDialog.last()->initialName, picture);
        QTest::mouseClick(w.Command1, Qt::LeftButton);
        QVERIFY(fixture.clipboard->image.pixel(1, 1) != qRgb(0, 0, 255));
    }

    // The background's open dialog proposes the file saved last, unless its name is too long
    // for the dialog; it keeps the save's file types, the background passes its own list.
    void openDialogProposesTheFileSavedLast_data()
    {
        QTest::addColumn<bool>("tooLong");
        QTest::newRow("saved file") << false;
        QTest::newRow("too long a name") << true;
    }
    void openDialogProposesTheFileSavedLast()
    {
        QFETCH(bool, tooLong);
        QTemporaryDir dir;
        const QString saved = tooLong ? QStringLiteral("/tmp/") + QString(300, u'd') + QStringLiteral("/a.png")
                                      : dir.filePath(QStringLiteral("saved.png"));
        WindowFixture fixture;
        fixture.started();
        SorvelMain& w = *fixture.window;
        typeText(w, QStringLiteral("name"));
        fixture.dialogs->saveFileDialog.queue(FakeDialogService::chosenFile(saved));
        QTest::mouseClick(w.Command3, Qt::LeftButton);
        QTest::mouseClick(w.Command4, Qt::LeftButton);
        QCOMPARE(fixture.dialogs->openFileDialog.calls(), 1);
        QCOMPARE(fixture.dialogs->openFileDialog.last()->initialName, tooLong ? QString() : saved);
        QCOMPARE(fixture.dialogs->openFileDialog.last()->nameFilters.size(), 5);
    }

    // Closing ends the program at once, without a question or a rendering, and hands the
    // copied image over while the clipboard still holds it.
    void closing_data()
    {
        QTest::addColumn<bool>("copied");
        QTest::addColumn<bool>("takenAway");
        QTest::addColumn<bool>("byCloseEvent");
        QTest::newRow("copied: handed over") << true << false << true;
        QTest::newRow("copied, closed by close()") << true << false << false;
        QTest::newRow("another program took the clipboard") << true << true << true;
        QTest::newRow("never copied") << false << false << true;
    }
    void closing()
    {
        QFETCH(bool, copied);
        QFETCH(bool, takenAway);
        QFETCH(bool, byCloseEvent);
        WindowFixture fixture;
        fixture.started();
        typeText(*fixture.window, QStringLiteral("keep"));
        if (copied)
            QTest::mouseClick(fixture.window->Command1, Qt::LeftButton);
        const QImage onClipboard = fixture.clipboard->image;
        typeText(*fixture.window, QStringLiteral(" more, never saved"));   // the clipboard keeps the copy
        fixture.clipboard->takenByAnotherProgram = takenAway;
        const int rendersBefore = fixture.renderCount();

        if (byCloseEvent) {
            QCloseEvent event;
            event.ignore();
            QCoreApplication::sendEvent(fixture.window.get(), &event);
            QVERIFY(event.isAccepted());
        } else {
            QVERIFY(fixture.window->close());
        }
        QCOMPARE(fixture.events, QStringList({"before end", "end"}));
        QCOMPARE(fixture.renderCount(), rendersBefore);
        if (copied && !takenAway)
            QCOMPARE(fixture.keptImages, std::vector<QImage>{onClipboard});
        else
            QVERIFY(fixture.keptImages.empty());
    }
};

QTEST_MAIN(ColorsAndOutputTest)
#include "tst_colors_and_output.moc"

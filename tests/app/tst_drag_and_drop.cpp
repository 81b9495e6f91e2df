// Drag and drop on the real window: a picture file dropped anywhere on it (the text box
// included) becomes the background picture, exactly as one chosen in the background dialog;
// other drops are refused and change nothing; the preview dragged out carries the picture as
// image/png and as a PNG file.
#include "support/WindowFixture.h"
#include "app/CanvasView.h"
#include "app/ColorSwatch.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTemporaryDir>

using namespace sorvel;
using namespace sorvel::test;

namespace {

// A small picture of four colours, so that tiling it shows.
QImage checkerPicture()
{
    QImage picture(6, 4, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, (x + y) % 2 ? qRgb(200, 40, 40) : qRgb(x * 40, 180, y * 60));
    return picture;
}

std::unique_ptr<QMimeData> filesData(const QStringList& paths)
{
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << (path.contains(u':') ? QUrl(path) : QUrl::fromLocalFile(path));
    data->setUrls(urls);
    return data;
}

// Drags data over target and drops it there; whether the drag was accepted on entering.
bool dragAndDrop(QWidget* target, const QMimeData& data)
{
    const QPoint at(4, 4);
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

QImage shownPicture(const SorvelMain& window)
{
    const CanvasSurface& canvas = window.canvas();
    return canvas.image().copy(0, 0, canvas.scaleWidth(), canvas.scaleHeight()).convertToFormat(QImage::Format_RGB32);
}

} // namespace

class DragAndDropTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_folder.isValid());
        m_png = m_folder.filePath(QStringLiteral("paper.PNG"));
        QVERIFY(checkerPicture().save(m_png, "PNG"));
    }

    // Dropped on the window or on the text box, the picture is the background of the next
    // rendering, pixel for pixel as when chosen in the dialog; the text stays as typed.
    void droppedPictureBecomesTheBackground_data()
    {
        QTest::addColumn<bool>("onTextBox");
        QTest::newRow("on the window") << false;
        QTest::newRow("on the text box") << true;
    }
    void droppedPictureBecomesTheBackground()
    {
        QFETCH(bool, onTextBox);
        WindowFixture chosen;
        QTest::keyClicks(chosen.view().textBox(), QStringLiteral("Paper"));
        chosen.dialogs->openFileDialog.queue(FakeDialogService::chosenFile(m_png));
        QTest::mouseClick(chosen.view().backgroundButton(), Qt::LeftButton);
        QCOMPARE(chosen.lastRender().backgroundPicture, m_png);

        WindowFixture dropped;
        QTest::keyClicks(dropped.view().textBox(), QStringLiteral("Paper"));
        const QImage plain = shownPicture(*dropped.window);
        const int before = dropped.renderCount();
        QWidget* target = onTextBox ? dropped.view().textBox()->viewport() : dropped.window.get();
        QVERIFY(dragAndDrop(target, *filesData({m_png})));
        QCOMPARE(dropped.renderCount(), before + 1);
        QCOMPARE(dropped.lastRender().backgroundPicture, m_png);
        QCOMPARE(dropped.view().textBox()->toPlainText(), QStringLiteral("Paper"));
        QVERIFY(shownPicture(*dropped.window) != plain);
        QCOMPARE(shownPicture(*dropped.window), shownPicture(*chosen.window));
        QCOMPARE(dropped.dialogs->totalCalls(), 0);
    }

    // Only one local file with a background picture's ending is taken.
    void otherDropsAreRefused()
    {
        const QString gif = m_folder.filePath(QStringLiteral("paper.gif"));
        QVERIFY(QFile::copy(m_png, gif));
        const QString folder = m_folder.filePath(QStringLiteral("folder.png"));
        QVERIFY(QDir().mkpath(folder));
        WindowFixture fixture;
        for (const QStringList& paths : {QStringList{gif}, QStringList{m_png, m_png}, QStringList{folder},
                                         QStringList{QStringLiteral("https://example.org/paper.png")}})
            QVERIFY2(!dragAndDrop(fixture.window.get(), *filesData(paths)), qPrintable(paths.join(u' ')));
        QMimeData text;
        text.setText(m_png);
        QVERIFY(!dragAndDrop(fixture.window.get(), text));
        QCOMPARE(fixture.renderCount(), 0);
        QVERIFY(fixture.window->currentSettings().backgroundPicture.isEmpty());
    }

    // Pressing on the preview and moving as far as the drag distance drags the picture once:
    // image/png with the picture's pixels, and a PNG file named after the text with the same.
    void previewDraggedOut()
    {
        WindowFixture fixture;
        QTest::keyClicks(fixture.view().textBox(), QStringLiteral("Drag me"));
        QTest::mouseClick(fixture.view().swatch(12), Qt::RightButton); // a red background
        CanvasView* preview = fixture.view().preview();
        const QPoint start(3, 3);
        QMouseEvent press(QEvent::MouseButtonPress, start, preview->mapToGlobal(start), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(preview, &press);
        const QPoint near = start + QPoint(QApplication::startDragDistance() / 2, 0);
        QMouseEvent small(QEvent::MouseMove, near, preview->mapToGlobal(near), Qt::NoButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(preview, &small);
        QVERIFY(fixture.drags.empty());
        const QPoint far = start + QPoint(QApplication::startDragDistance() + 1, 0);
        for (int i = 0; i < 2; ++i) {
            QMouseEvent move(QEvent::MouseMove, far, preview->mapToGlobal(far), Qt::NoButton, Qt::LeftButton,
                             Qt::NoModifier);
            QApplication::sendEvent(preview, &move);
        }
        QCOMPARE(fixture.drags.size(), std::size_t(1));

        const QMimeData& data = *fixture.drags.front();
        QVERIFY(data.hasFormat(QStringLiteral("image/png")));
        const QImage expected = shownPicture(*fixture.window);
        QCOMPARE(expected.pixel(0, 0), qRgb(255, 0, 0));
        QCOMPARE(QImage::fromData(data.data(QStringLiteral("image/png")), "PNG").convertToFormat(QImage::Format_RGB32),
                 expected);
        QCOMPARE(data.urls().size(), 1);
        const QString file = data.urls().first().toLocalFile();
        QCOMPARE(QFileInfo(file).fileName(), QStringLiteral("Drag me.png"));
        QCOMPARE(QImage(file, "PNG").convertToFormat(QImage::Format_RGB32), expected);
    }

    // A click on the preview, however the pointer trembles within the distance, drags nothing.
    void clickDragsNothing()
    {
        WindowFixture fixture;
        QTest::mouseClick(fixture.view().preview(), Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
        QVERIFY(fixture.drags.empty());
    }

private:
    QTemporaryDir m_folder;
    QString m_png;
};

QTEST_MAIN(DragAndDropTest)
#include "tst_drag_and_drop.moc"

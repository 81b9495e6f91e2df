// The window while a rendering takes long: typing and the other controls answer at once, the
// changes made meanwhile fold into one next rendering, the preview ends with the picture of the
// last change, copy and save wait for the picture of the clicked state, and closing drops what
// waits and does not hang on what runs. The renderings are held by a stand-in renderer until
// the test lets them go, so no check here measures time; a held rendering goes by itself after
// a second, so that a window that waited for it would fail the checks rather than hang.
#include "support/WindowFixture.h"
#include "app/CanvasView.h"
#include "app/ScrollRanges.h"

#include <QMutex>
#include <QMutexLocker>
#include <QTemporaryDir>
#include <QWaitCondition>

#include <chrono>
#include <thread>

using namespace sorvel;
using namespace sorvel::test;

namespace {

constexpr std::chrono::milliseconds holdLimit{1000};

// Holds every rendering until released or until a second has passed, then draws as
// RenderTextImage does. Counts the renderings it started and finished.
class HeldRenderer {
public:
    RenderFunction function() const
    {
        return [state = m_state](const TextImageSettings& settings, const RenderSurfaces& surfaces) {
            {
                QMutexLocker lock(&state->mutex);
                state->startedTexts << settings.Text;
                const QDeadlineTimer limit(holdLimit);
                while (!state->released && state->changed.wait(&state->mutex, limit)) { }
            }
            RenderTextImage(settings, surfaces);
            QMutexLocker lock(&state->mutex);
            ++state->finished;
        };
    }

    // Lets the held rendering and every later one go.
    void release()
    {
        QMutexLocker lock(&m_state->mutex);
        m_state->released = true;
        m_state->changed.wakeAll();
    }
    // Holds the renderings to come again.
    void hold()
    {
        QMutexLocker lock(&m_state->mutex);
        m_state->released = false;
    }

    QStringList startedTexts() const
    {
        QMutexLocker lock(&m_state->mutex);
        return m_state->startedTexts;
    }
    int finished() const
    {
        QMutexLocker lock(&m_state->mutex);
        return m_state->finished;
    }

private:
    struct State {
        QMutex mutex;
        QWaitCondition changed;
        bool released = false;
        QStringList startedTexts;
        int finished = 0;
    };
    std::shared_ptr<State> m_state = std::make_shared<State>();
};

// The window as a user has it, on a held renderer, showing its first picture; the renderings
// after it are held.
struct HeldWindow {
    HeldRenderer renderer;
    WindowFixture fixture{installedTestFonts, true, Renderings::InPassing, renderer.function()};
    SorvelMain& window = *fixture.window;
    SorvelMainTestView view{window};

    HeldWindow()
    {
        renderer.release();
        window.waitForRendering();
        renderer.hold();
        fixture.renders.clear();
    }
};

QImage directRendering(const TextImageSettings& settings)
{
    CanvasSurface canvas;
    MeasuringLabel label;
    PictureHolder holder;
    RenderTextImage(settings, {canvas, label, holder});
    return canvas.image();
}

} // namespace

class PreviewWhileRenderingTest : public QObject {
    Q_OBJECT
private slots:
    // Twenty keys typed while a rendering is held (the first key's, held from the second key
    // on): each reaches the text box before any rendering ends, and so does a click on an
    // effect box; after that last change at most one rendering starts, and the preview ends
    // with exactly the picture of the final settings.
    void typingWhileARenderingRuns()
    {
        HeldWindow held;
        const SorvelMainTestView& v = held.view;
        QPlainTextEdit* const textBox = v.textBox();
        const int startedBefore = static_cast<int>(held.renderer.startedTexts().size());
        const QString typed = QStringLiteral("Twenty typed letters");
        QCOMPARE(typed.size(), 20);
        textBox->setFocus();
        for (qsizetype i = 0; i < typed.size(); ++i) {
            QTest::keyClick(textBox, typed.at(i).toLatin1());
            QCOMPARE(textBox->toPlainText(), typed.left(i + 1));
            QCOMPARE(held.renderer.finished(), startedBefore);
            if (i == 0)
                QTRY_COMPARE(held.renderer.startedTexts().size(), startedBefore + 1);
        }
        QTest::mouseClick(v.shadowBox(), Qt::LeftButton, {}, QPoint(6, v.shadowBox()->height() / 2));
        QVERIFY(v.shadowBox()->isChecked());
        QCOMPARE(held.renderer.finished(), startedBefore);
        const int startedAtLastChange = static_cast<int>(held.renderer.startedTexts().size());
        QCOMPARE(startedAtLastChange, startedBefore + 1);

        held.renderer.release();
        held.window.waitForRendering();
        const QStringList started = held.renderer.startedTexts();
        QCOMPARE(started.mid(startedBefore),
                 QStringList({typed.left(1), typed})); // nothing between the first key's and the last
        const TextImageSettings final = held.window.currentSettings();
        QCOMPARE(final.Text, typed);
        QVERIFY(final.Shadow);
        QCOMPARE(held.fixture.lastRender(), final);
        QCOMPARE(held.window.canvas().image(), directRendering(final));
        QCOMPARE(v.preview()->size(), held.window.canvas().image().size());
        // Pictures that finish while the window waits reach the preview together, as one.
        QVERIFY(held.fixture.renderCount() >= 1 && held.fixture.renderCount() <= started.size() - startedBefore);
    }

    // Copy and save act on the settings at the click: they wait for the held rendering and the
    // one of the clicked state (released while they wait, after the busy cursor's delay), and
    // leave no busy cursor behind.
    void outputWaitsForTheClickedState_data()
    {
        QTest::addColumn<bool>("save");
        QTest::newRow("copy") << false;
        QTest::newRow("save") << true;
    }
    void outputWaitsForTheClickedState()
    {
        QFETCH(bool, save);
        HeldWindow held;
        const SorvelMainTestView& v = held.view;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("clicked.png"));
        if (save)
            held.fixture.dialogs->saveFileDialog.queue(FakeDialogService::chosenFile(path));
        QTest::keyClicks(v.textBox(), QStringLiteral("clicked"));
        std::thread releaser([&held] {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            held.renderer.release();
        });
        QTest::mouseClick(save ? v.saveButton() : v.copyButton(), Qt::LeftButton);
        releaser.join();
        QCOMPARE(held.window.currentSettings().Text, QStringLiteral("clicked"));
        const QImage expected = directRendering(held.window.currentSettings());
        QCOMPARE(held.fixture.clipboard->image, expected);
        QCOMPARE(held.window.canvas().image(), expected);
        if (save)
            QCOMPARE(QImage(path).convertToFormat(QImage::Format_RGB32), expected);
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    // Pictures that finish while the window waits reach the preview together; the bar still
    // ends as if it had followed each of them: scrolled to the end of a long text, a shorter
    // one lowers the value, and a longer one after it keeps it lowered.
    void barFollowsPicturesThatArriveTogether()
    {
        HeldWindow held;
        const SorvelMainTestView& v = held.view;
        QScrollBar* const bar = v.horizontalBar();
        held.renderer.release();
        v.textBox()->setPlainText(QString(120, u'W'));
        held.window.waitForRendering();
        bar->setValue(bar->maximum());
        held.renderer.hold();
        const int startedBefore = static_cast<int>(held.renderer.startedTexts().size());
        v.textBox()->setPlainText(QString(40, u'W'));
        QTRY_COMPARE(held.renderer.startedTexts().size(), startedBefore + 1);
        v.textBox()->setPlainText(QString(130, u'W'));
        held.renderer.release();
        held.window.waitForRendering();

        TextImageSettings shorter = held.window.currentSettings();
        shorter.Text = QString(40, u'W');
        const int shorterWidth = directRendering(shorter).width();
        QVERIFY(shorterWidth > v.viewport()->contentsRect().width());
        QCOMPARE(held.renderer.startedTexts().size(), startedBefore + 2);
        QCOMPARE(held.window.canvas().image(), directRendering(held.window.currentSettings()));
        QVERIFY(bar->isVisible());
        QCOMPARE(bar->maximum(), held.window.canvas().scaleWidth() - horizontalEndMargin);
        QCOMPARE(bar->value(), shorterWidth - horizontalEndMargin);
    }

    // Closing while a rendering is held ends the program at once; the settings that waited are
    // never rendered, and the window goes when the held rendering ends.
    void closingWhileARenderingRuns()
    {
        auto held = std::make_unique<HeldWindow>();
        const HeldRenderer renderer = held->renderer;
        QTest::keyClick(held->view.textBox(), 't');
        QTRY_COMPARE(renderer.startedTexts().size(), 2); // the rendering of "t" is held
        QTest::keyClicks(held->view.textBox(), QStringLiteral("yped"));
        QVERIFY(held->window.close());
        QCOMPARE(held->fixture.events, QStringList({"before end", "end"}));
        held.reset();
        QCOMPARE(renderer.startedTexts(), QStringList({QString(), QStringLiteral("t")}));
        QCOMPARE(renderer.finished(), 2);
    }
};

QTEST_MAIN(PreviewWhileRenderingTest)
#include "tst_preview_while_rendering.moc"

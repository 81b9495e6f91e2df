// Start-up of the real main window: caption sequence, font list, first rendering, and the
// installed font list.

#include "WindowFixture.h"

#include "app/ColorSwatch.h"
#include "platform/RunTimeError.h"
#include "render/PaletteColor.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QtTest>

using namespace sorvel;
using namespace sorvel::test;

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    // The font list is collected under a busy caption, with the window already showing; the
    // default font then gives the first rendering.
    void startUp()
    {
        WindowFixture fixture;
        QStringList captionsSeen;
        bool hiddenWhileQueried = false;
        fixture.fonts->onQuery = [&] {
            captionsSeen << fixture.window->windowTitle();
            hiddenWhileQueried = hiddenWhileQueried || !fixture.window->isVisible();
        };
        QCOMPARE(fixture.window->windowTitle(), QStringLiteral("Sorvel ペイント"));
        QVERIFY(!fixture.window->isVisible());

        fixture.window->Form_Load();

        QVERIFY(fixture.fonts->queries() > 0);
        captionsSeen.removeDuplicates();
        QCOMPARE(captionsSeen, QStringList{QStringLiteral("フォント名取得中 - Sorvel ペイント")});
        QVERIFY(!hiddenWhileQueried);
        QCOMPARE(fixture.window->windowTitle(), QStringLiteral("Sorvel ペイント"));
        QVERIFY(fixture.window->Combo1->isEnabled());
        QCOMPARE(fixture.renderCount(), 1);
        QCOMPARE(fixture.window->Combo1->currentText(), defaultFontName);
        const TextImageSettings& first = fixture.lastRender();
        QCOMPARE(first, TextImageSettings{});   // empty text, default font at 14.25 pt, "14", no styles or effects
        QCOMPARE(first.FontSize, 14.25f);
        QCOMPARE(fixture.window->canvas().font().family(), defaultFontName);
        QCOMPARE(fixture.window->Label3.font(), fixture.window->canvas().font());

        // Every control in its starting state.
        QCOMPARE(fixture.window->Combo2->currentText(), QStringLiteral("14"));
        QVERIFY(fixture.window->Text1->toPlainText().isEmpty());
        for (QToolButton* toggle : fixture.window->Check1)
            QVERIFY(!toggle->isChecked());
        QVERIFY(!fixture.window->Check2->isChecked());
        QVERIFY(!fixture.window->Check3->isChecked());
        QVERIFY(!fixture.window->Check4->isChecked());
        for (int i = 0; i < paletteSize; ++i) {
            const ColorSwatch* swatch = fixture.window->Picture2.at(static_cast<std::size_t>(i));
            QCOMPARE(swatch->color(), PaletteColor(i));
            QCOMPARE(swatch->palette().color(QPalette::Window), toQColor(PaletteColor(i)));
        }
        // The empty canvas fits the viewport: no scroll bars.
        QVERIFY(fixture.window->HScroll1->isHidden());
        QVERIFY(fixture.window->VScroll1->isHidden());
    }

    // Vertical ("@" first) names are left out; the rest sorted without case, duplicates kept.
    // Without the default font nothing is selected and nothing rendered until the first change
    // of any input, which renders in the default font the canvas started with.
    void fontList_data()
    {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("vertical names left out")
            << QStringList{"@ＭＳ ゴシック", defaultFontName, "@Noto Sans CJK JP", "Ex@mple Sans", "Plain@"}
            << QStringList{"Ex@mple Sans", "Plain@", defaultFontName};
        QTest::newRow("sorted, duplicates kept")
            << QStringList{"zeta", "Beta", defaultFontName, "alpha", "Beta", "Gamma"}
            << QStringList{"alpha", "Beta", "Beta", "Gamma", "zeta", defaultFontName};
        QTest::newRow("default not installed")
            << QStringList{"DejaVu Serif", "DejaVu Sans"} << QStringList{"DejaVu Sans", "DejaVu Serif"};
        QTest::newRow("only its vertical variant") << QStringList{QStringLiteral("@") + defaultFontName}
                                                   << QStringList{};
        QTest::newRow("no fonts at all") << QStringList{} << QStringList{};
    }
    void fontList()
    {
        QFETCH(QStringList, installed);
        QFETCH(QStringList, entries);
        WindowFixture fixture(installed);
        SorvelMain& w = *fixture.window;
        w.Form_Load();
        QStringList shown;
        for (int i = 0; i < w.Combo1->count(); ++i)
            shown << w.Combo1->itemText(i);
        QCOMPARE(shown, entries);
        QVERIFY(w.Combo1->isEnabled());
        QCOMPARE(w.windowTitle(), QStringLiteral("Sorvel ペイント"));
        // The canvas fits: the bars are hidden, even before any rendering.
        QVERIFY(w.HScroll1->isHidden());
        QVERIFY(w.VScroll1->isHidden());
        if (entries.contains(defaultFontName)) {
            QCOMPARE(fixture.renderCount(), 1);
            QCOMPARE(w.Combo1->currentText(), defaultFontName);
            return;
        }
        QCOMPARE(fixture.renderCount(), 0);
        QCOMPARE(w.Combo1->currentIndex(), -1);
        QVERIFY(w.Combo1->currentText().isEmpty());
        QTest::keyClicks(w.Text1, QStringLiteral("a"));
        QCOMPARE(fixture.renderCount(), 1);
        QCOMPARE(fixture.lastRender().FontName, defaultFontName);
    }

    void installedListOffersTheDefaultName()
    {
        InstalledFontList list;
        const int count = list.count();
        QVERIFY(count > 0);
        QStringList names;
        for (int i = 0; i < count; ++i)
            names << list.name(i);
        QVERIFY_THROWS_EXCEPTION(RunTimeError, list.name(count));
        QVERIFY_THROWS_EXCEPTION(RunTimeError, list.name(-1));

        // Every name renders: an installed family, or the default name standing for an
        // installed Japanese gothic.
        bool substituteInstalled = false;
        for (const QString& substitute : QFont::substitutes(defaultFontName))
            substituteInstalled = substituteInstalled || QFontDatabase::hasFamily(substitute);
        QVERIFY(substituteInstalled);   // this machine has a Japanese gothic
        QCOMPARE(names.count(defaultFontName), 1);
        const QStringList families = QFontDatabase::families();
        for (const QString& name : names)
            QVERIFY2(name == defaultFontName || families.contains(name), qPrintable(name));

        // The real list makes the real window start with the default font selected.
        SorvelMainDependencies dependencies = realDependencies();
        dependencies.endProgram = [] {};
        SorvelMain window(std::move(dependencies));
        int renders = 0;
        connect(&window, &SorvelMain::rendered, [&renders] { ++renders; });
        window.Form_Load();
        QCOMPARE(window.Combo1->currentText(), defaultFontName);
        QCOMPARE(renders, 1);
    }
};

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"

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
    // Vertical ("@" first) names are left out; the rest sorted without case, duplicates kept.
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
    }
    void fontList()
    {
        QFETCH(QStringList, installed);
        QFETCH(QStringList, entries);
        WindowFixture fixture(installed);
        fixture.started();
        QStringList shown;
        for (int i = 0; i < fixture.window->Combo1->count(); ++i)
            shown << fixture.window->Combo1->itemText(i);
        QCOMPARE(shown, entries);
        QCOMPARE(fixture.window->Combo1->currentText(), defaultFontName);
    }

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

    void startsWithoutDefaultFont_data()
    {
        QTest::addColumn<QStringList>("fonts");
        QTest::newRow("default not installed") << QStringList{"DejaVu Sans", "DejaVu Serif"};
        QTest::newRow("only its vertical variant") << QStringList{QStringLiteral("@") + defaultFontName};
        QTest::newRow("no fonts at all") << QStringList{};
    }
    void startsWithoutDefaultFont()
    {
        QFETCH(QStringList, fonts);
        WindowFixture fixture(fonts);
        fixture.window->Form_Load();

        QCOMPARE(fixture.renderCount(), 0);
        QCOMPARE(fixture.window->Combo1->currentIndex(), -1);
        QVERIFY(fixture.window->Combo1->currentText().isEmpty());
        QVERIFY(fixture.window->Combo1->isEnabled());
        QCOMPARE(fixture.window->windowTitle(), QStringLiteral("Sorvel ペイント"));
        // The design canvas fits: the bars are hidden even before any rendering.
        QVERIFY(fixture.window->HScroll1->isHidden());
        QVERIFY(fixture.window->VScroll1->isHidden());

        // The first change of any input renders, in the default font the canvas started with.
        QTest::keyClicks(fixture.window->Text1, QStringLiteral("a"));
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

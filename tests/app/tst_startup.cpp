// Start-up of the real main window: caption sequence, font list, first rendering, fixed size,
// and the installed font list.
#include "support/WindowFixture.h"

#include "platform/Failure.h"

#include <QFontDatabase>

#include <new>

using namespace sorvel;
using namespace sorvel::test;

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    // Fonts are collected under a busy caption with the window showing: "@" names left out, the
    // rest sorted without case, duplicates kept. The default font, if listed, gives the first
    // rendering; else nothing is selected and the first input change renders in it. No scroll
    // bars, also before the first rendering (a fixed fault). The window keeps its size.
    void startUp_data()
    {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("vertical left out, sorted, duplicates kept")
            << QStringList{"@ＭＳ ゴシック",    "zeta",  defaultFontName, "Ex@mple Sans", "Beta",
                           "@Noto Sans CJK JP", "alpha", "Beta"}
            << QStringList{"alpha", "Beta", "Beta", "Ex@mple Sans", "zeta", defaultFontName};
        QTest::newRow("default not installed")
            << QStringList{"DejaVu Serif", "DejaVu Sans"} << QStringList{"DejaVu Sans", "DejaVu Serif"};
        QTest::newRow("only its vertical variant")
            << QStringList{QStringLiteral("@") + defaultFontName} << QStringList{};
    }
    void startUp()
    {
        QFETCH(QStringList, installed);
        QFETCH(QStringList, entries);
        WindowFixture fixture(installed, false);
        SorvelMain& w = *fixture.window;
        const SorvelMainTestView v(w);
        QStringList captions{w.windowTitle()};
        fixture.fonts->onQuery = [&] { captions << (w.isVisible() ? w.windowTitle() : QStringLiteral("hidden")); };
        w.start();
        captions << w.windowTitle();
        captions.removeDuplicates();
        QCOMPARE(captions, QStringList({"Sorvel ペイント", "フォント名取得中 - Sorvel ペイント"}));
        QCOMPARE(w.windowTitle(), captions.first());
        QStringList shown;
        for (int i = 0; i < v.fontList()->count(); ++i)
            shown << v.fontList()->itemText(i);
        QCOMPARE(shown, entries);
        QVERIFY(v.fontList()->isEnabled() && v.horizontalBar()->isHidden() && v.verticalBar()->isHidden());
        const bool hasDefault = entries.contains(defaultFontName);
        QCOMPARE(fixture.renders,
                 hasDefault ? std::vector{TextImageSettings{}} : std::vector<TextImageSettings>{}); // 14.25 pt
        QCOMPARE(v.fontList()->currentText(), hasDefault ? defaultFontName : QString());
        QCOMPARE(v.measuringLabel().font().family(), defaultFontName);
        QCOMPARE(v.measuringLabel().font(), w.canvas().font());
        QTest::keyClicks(v.textBox(), QStringLiteral("a"));
        QCOMPARE(fixture.lastRender().FontName, defaultFontName);
        w.resize(600, 500);
        w.showMaximized();
        QCOMPARE(w.size(), QSize(433, 312));
    }

    // A font list that fails to answer still leaves a usable window: an unreadable count lists
    // nothing, an unreadable name (or one whose memory runs out) leaves out that font only. Without
    // the default font listed nothing renders until the first change, which uses the canvas's font.
    void unreadableFontsAreLeftOut_data()
    {
        QTest::addColumn<int>("failingQuery"); // 1: the count, 2 on: the names in turn
        QTest::addColumn<bool>("outOfMemory");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("count") << 1 << false << QStringList{};
        QTest::newRow("first name") << 2 << false << QStringList{"DejaVu Serif", defaultFontName};
        QTest::newRow("first name, out of memory") << 2 << true << QStringList{"DejaVu Serif", defaultFontName};
        QTest::newRow("the default's name") << 3 << false << QStringList{"DejaVu Sans", "DejaVu Serif"};
    }
    void unreadableFontsAreLeftOut()
    {
        QFETCH(int, failingQuery);
        QFETCH(bool, outOfMemory);
        QFETCH(QStringList, entries);
        WindowFixture fixture(installedTestFonts, false);
        SorvelMain& w = *fixture.window;
        const SorvelMainTestView v(w);
        fixture.fonts->onQuery = [&] {
            if (fixture.fonts->queries() != failingQuery)
                return;
            if (outOfMemory)
                throw std::bad_alloc();
            fail(FailureKind::UnreadableFile);
        };
        w.start();
        QStringList shown;
        for (int i = 0; i < v.fontList()->count(); ++i)
            shown << v.fontList()->itemText(i);
        QCOMPARE(shown, entries);
        QCOMPARE(w.windowTitle(), QStringLiteral("Sorvel ペイント"));
        QVERIFY(w.isVisible() && v.fontList()->isEnabled());
        QCOMPARE(fixture.renderCount(), entries.contains(defaultFontName) ? 1 : 0);
        QTest::keyClicks(v.textBox(), QStringLiteral("a"));
        QCOMPARE(fixture.lastRender().Text, QStringLiteral("a"));
        QCOMPARE(fixture.lastRender().FontName, defaultFontName);
    }

    // Every installed name renders: a family of the font database, or the default name once,
    // standing for an installed Japanese gothic.
    void installedListOffersTheDefaultName()
    {
        InstalledFontList list;
        QStringList names;
        for (int i = 0; i < list.count(); ++i)
            names << list.name(i);
        QCOMPARE(names.count(defaultFontName), 1);
        for (const QString& name : names)
            QVERIFY2(name == defaultFontName || QFontDatabase::families().contains(name), qPrintable(name));
    }
};

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"

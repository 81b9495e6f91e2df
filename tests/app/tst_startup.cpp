// Start-up and shutdown of the real main window: caption sequence, font list, first
// rendering, closing.

#include "WindowFixture.h"

#include "app/ColorSwatch.h"
#include "platform/RunTimeError.h"
#include "render/PaletteColor.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QtTest>

using namespace sorvel;
using namespace sorvel::test;

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void busyCaptionWhileFontsAreCollected();
    void fontListLeavesOutVerticalNames();
    void fontListIsSortedAndKeepsDuplicates();
    void defaultFontGivesTheFirstRendering();
    void startsWithoutDefaultFont_data();
    void startsWithoutDefaultFont();
    void swatchesShowThePalette();
    void closingEndsTheProgramAtOnce();
    void installedListOffersTheDefaultName();
};

void StartupTest::busyCaptionWhileFontsAreCollected()
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
}

void StartupTest::fontListLeavesOutVerticalNames()
{
    WindowFixture fixture({QStringLiteral("@ＭＳ ゴシック"), defaultFontName, QStringLiteral("@Noto Sans CJK JP"),
                           QStringLiteral("Ex@mple Sans"), QStringLiteral("Plain@")});
    fixture.started();
    QStringList entries;
    for (int i = 0; i < fixture.window->Combo1->count(); ++i)
        entries << fixture.window->Combo1->itemText(i);
    QCOMPARE(entries, (QStringList{QStringLiteral("Ex@mple Sans"), QStringLiteral("Plain@"), defaultFontName}));
}

void StartupTest::fontListIsSortedAndKeepsDuplicates()
{
    WindowFixture fixture({QStringLiteral("zeta"), QStringLiteral("Beta"), defaultFontName, QStringLiteral("alpha"),
                           QStringLiteral("Beta"), QStringLiteral("Gamma")});
    fixture.started();
    QStringList entries;
    for (int i = 0; i < fixture.window->Combo1->count(); ++i)
        entries << fixture.window->Combo1->itemText(i);
    QCOMPARE(entries, (QStringList{QStringLiteral("alpha"), QStringLiteral("Beta"), QStringLiteral("Beta"),
                                   QStringLiteral("Gamma"), QStringLiteral("zeta"), defaultFontName}));
    QCOMPARE(fixture.window->Combo1->currentText(), defaultFontName);
}

void StartupTest::defaultFontGivesTheFirstRendering()
{
    WindowFixture fixture;
    fixture.window->Form_Load();

    QCOMPARE(fixture.renderCount(), 1);
    QCOMPARE(fixture.window->Combo1->currentText(), defaultFontName);
    const TextImageSettings& first = fixture.lastRender();
    QCOMPARE(first, TextImageSettings{});   // empty text, default font at 14.25 pt, "14", no styles or effects
    QCOMPARE(first.FontSize, 14.25f);
    QCOMPARE(fixture.window->canvas().font().family(), defaultFontName);
    QCOMPARE(fixture.window->Label3.font().family(), defaultFontName);

    // Every control in its starting state.
    QCOMPARE(fixture.window->Combo2->currentText(), QStringLiteral("14"));
    QVERIFY(fixture.window->Text1->toPlainText().isEmpty());
    for (QToolButton* toggle : fixture.window->Check1)
        QVERIFY(!toggle->isChecked());
    QVERIFY(!fixture.window->Check2->isChecked());
    QVERIFY(!fixture.window->Check3->isChecked());
    QVERIFY(!fixture.window->Check4->isChecked());
    // The empty canvas fits the viewport: no scroll bars.
    QVERIFY(fixture.window->HScroll1->isHidden());
    QVERIFY(fixture.window->VScroll1->isHidden());
}

void StartupTest::startsWithoutDefaultFont_data()
{
    QTest::addColumn<QStringList>("fonts");
    QTest::newRow("default not installed") << QStringList{QStringLiteral("DejaVu Sans"), QStringLiteral("DejaVu Serif")};
    QTest::newRow("only its vertical variant") << QStringList{QStringLiteral("@") + defaultFontName};
    QTest::newRow("no fonts at all") << QStringList{};
}

void StartupTest::startsWithoutDefaultFont()
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

void StartupTest::swatchesShowThePalette()
{
    WindowFixture fixture;
    fixture.started();
    for (int i = 0; i < paletteSize; ++i) {
        const ColorSwatch* swatch = fixture.window->Picture2.at(static_cast<std::size_t>(i));
        QCOMPARE(swatch->color(), PaletteColor(i));
        QCOMPARE(swatch->palette().color(QPalette::Window), toQColor(PaletteColor(i)));
    }
    // 0 to 7 in the upper row from left to right, 8 to 15 below.
    for (int i = 1; i < 8; ++i) {
        QVERIFY(fixture.window->Picture2[static_cast<std::size_t>(i)]->x()
                > fixture.window->Picture2[static_cast<std::size_t>(i - 1)]->x());
        QCOMPARE(fixture.window->Picture2[static_cast<std::size_t>(i + 8)]->x(),
                 fixture.window->Picture2[static_cast<std::size_t>(i)]->x());
        QVERIFY(fixture.window->Picture2[static_cast<std::size_t>(i + 8)]->y()
                > fixture.window->Picture2[static_cast<std::size_t>(i)]->y());
    }
}

void StartupTest::closingEndsTheProgramAtOnce()
{
    WindowFixture fixture;
    fixture.started();
    QTest::keyClicks(fixture.window->Text1, QStringLiteral("never saved"));
    const int rendersBefore = fixture.renderCount();

    QCloseEvent event;
    event.ignore();
    QCoreApplication::sendEvent(fixture.window.get(), &event);

    QVERIFY(event.isAccepted());
    QCOMPARE(fixture.events, (QStringList{QStringLiteral("before end"), QStringLiteral("end")}));
    QCOMPARE(fixture.renderCount(), rendersBefore);

    // close() takes the same path.
    fixture.events.clear();
    QVERIFY(fixture.window->close());
    QCOMPARE(fixture.events, (QStringList{QStringLiteral("before end"), QStringLiteral("end")}));
}

void StartupTest::installedListOffersTheDefaultName()
{
    InstalledFontList list;
    const int count = list.count();
    QVERIFY(count > 0);
    QStringList names;
    for (int i = 0; i < count; ++i)
        names << list.name(i);
    QVERIFY_THROWS_EXCEPTION(RunTimeError, list.name(count));
    QVERIFY_THROWS_EXCEPTION(RunTimeError, list.name(-1));

    // Every name renders: an installed family, or the default name standing for an installed
    // Japanese gothic.
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

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"

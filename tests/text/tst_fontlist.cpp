// The installed font list: each family once whatever foundries make it, and the other names the
// font configuration knows a family by.
#include "text/FontList.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QtTest>

using namespace sorvel;

class FontListTest : public QObject {
    Q_OBJECT
private slots:
    void familiesOnce_data()
    {
        QTest::addColumn<QStringList>("database");
        QTest::addColumn<QStringList>("families");
        QTest::newRow("one family of two foundries")
            << QStringList{"DejaVu Sans", "Nimbus Sans [UKWN]", "Nimbus Sans [URW ]", "Noto Sans"}
            << QStringList{"DejaVu Sans", "Nimbus Sans", "Noto Sans"};
        QTest::newRow("a family without a foundry and the same with one")
            << QStringList{"Serif", "Serif [X]"} << QStringList{"Serif"};
        QTest::newRow("brackets inside a name stay")
            << QStringList{"A [b] c", "Sans [Foundry] Mono"} << QStringList{"A [b] c", "Sans [Foundry] Mono"};
        QTest::newRow("Japanese") << QStringList{"IPA Pゴシック [IPA ]", "IPA Pゴシック [Other]"}
                                  << QStringList{"IPA Pゴシック"};
    }
    void familiesOnce()
    {
        QFETCH(QStringList, database);
        QFETCH(QStringList, families);
        QCOMPARE(sorvel::familiesOnce(database), families);
    }

    // A font's names that are not families of their own are its family's other names, each
    // once, whichever of its names the database shows; names of fonts of no listed family are
    // nobody's.
    void otherFamilyNames()
    {
        const QStringList families{"IPAPGothic", "DejaVu Sans", "DejaVu Sans Light", "ＭＳ Ｐゴシック"};
        const QList<QStringList> fonts{
            {"IPA Pゴシック", "IPAPGothic"},      {"IPAPGothic", "IPA Pゴシック"},
            {"DejaVu Sans", "DejaVu Sans Light"}, {"DejaVu Sans"},
            {"Unlisted", "Sans inconnue"},        {"IPAPGothic", "IPA P Gothic Alt"},
        };
        const QList<FontFamilyNames> expected{
            {"IPAPGothic", {"IPA Pゴシック", "IPA P Gothic Alt"}},
            {"DejaVu Sans", {}},
            {"DejaVu Sans Light", {}},
            {"ＭＳ Ｐゴシック", {}},
        };
        QCOMPARE(sorvel::otherFamilyNames(families, fonts), expected);
    }

    // On this machine: every installed family once, IPA P Gothic with its Japanese name, and
    // every other name drawing with its family's face.
    void installedFamilies()
    {
        const QList<FontFamilyNames> families = installedFontFamilies();
        QStringList names;
        for (const FontFamilyNames& family : families)
            names << family.name;
        QCOMPARE(QSet<QString>(names.cbegin(), names.cend()).size(), names.size());
        const auto ipa = std::find_if(families.cbegin(), families.cend(),
                                      [](const FontFamilyNames& f) { return f.name == QStringLiteral("IPAPGothic"); });
        QVERIFY2(ipa != families.cend(), qPrintable(names.join(u',')));
        QCOMPARE(ipa->otherNames, QStringList{QStringLiteral("IPA Pゴシック")});
        for (const FontFamilyNames& family : families) {
            for (const QString& other : family.otherNames)
                QCOMPARE(QFontInfo(QFont(other)).family(), QFontInfo(QFont(family.name)).family());
        }
    }
};

QTEST_MAIN(FontListTest)
#include "tst_fontlist.moc"

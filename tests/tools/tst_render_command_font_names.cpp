// sorvel-render takes a font by every name the font configuration knows for it, whatever the
// locale: IPA P Gothic by its Latin and its Japanese name, under C.UTF-8 and ja_JP.UTF-8, draws
// the same picture. The font configuration and Qt take the language from the environment, so
// the Japanese locale needs no generated locale data here.
#include "tools/RenderCommandProcess.h"

using namespace sorvel::test;

namespace {

QProcessEnvironment inLocale(const QString& locale)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("LANGUAGE"));
    environment.remove(QStringLiteral("FC_LANG"));
    environment.insert(QStringLiteral("LANG"), locale);
    environment.insert(QStringLiteral("LC_ALL"), locale);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return environment;
}

QList<QStringList> listedFonts(const QString& locale)
{
    const RenderCommandRun run = runRenderCommand({"--list-fonts"}, {}, inLocale(locale));
    QList<QStringList> lines;
    if (run.exitCode != 0)
        return lines;
    for (const QString& line : QString::fromUtf8(run.standardOutput).split(u'\n', Qt::SkipEmptyParts))
        lines << line.split(u'\t');
    return lines;
}

} // namespace

class RenderCommandFontNamesTest : public QObject {
    Q_OBJECT
private slots:
    // Each family on one line, once; IPA P Gothic under the name of the locale's language,
    // with its other name after a tab.
    void listedOnceWithOtherNames_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QStringList>("ipaLine");
        QTest::newRow("C.UTF-8") << "C.UTF-8" << QStringList{"IPAPGothic", "IPA Pゴシック"};
        QTest::newRow("ja_JP.UTF-8") << "ja_JP.UTF-8" << QStringList{"IPA Pゴシック", "IPAPGothic"};
    }
    void listedOnceWithOtherNames()
    {
        QFETCH(QString, locale);
        QFETCH(QStringList, ipaLine);
        const QList<QStringList> lines = listedFonts(locale);
        QVERIFY(!lines.isEmpty());
        QStringList families;
        for (const QStringList& line : lines)
            families << line.first();
        QCOMPARE(QSet<QString>(families.cbegin(), families.cend()).size(), families.size());
        QVERIFY(lines.contains(ipaLine));
        QVERIFY(families.contains(QStringLiteral("ＭＳ Ｐゴシック")));
    }

    // Both spellings, in both locales, in either case, draw the same bytes.
    void bothSpellingsInBothLocales()
    {
        QByteArray first;
        for (const QString& locale : {QStringLiteral("C.UTF-8"), QStringLiteral("ja_JP.UTF-8")}) {
            for (const QString& name :
                 {QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック"), QStringLiteral("ipa pゴシック")}) {
                const RenderCommandRun run =
                    runRenderCommand({"--font", name, "-o", "-", "--", "Aa 日本語"}, {}, inLocale(locale));
                QVERIFY2(run.exitCode == 0,
                         qPrintable(locale + u' ' + name + u' ' + QString::fromUtf8(run.standardError)));
                if (first.isEmpty())
                    first = run.standardOutput;
                QVERIFY2(run.standardOutput == first, qPrintable(locale + u' ' + name));
            }
        }
        const RenderCommandRun other = runRenderCommand({"--font", "DejaVu Sans", "-o", "-", "--", "Aa 日本語"}, {},
                                                        inLocale(QStringLiteral("C.UTF-8")));
        QCOMPARE(other.exitCode, 0);
        QVERIFY(other.standardOutput != first);
    }

    void unknownNameStillFails()
    {
        const RenderCommandRun run = runRenderCommand({"--font", "IPA Pゴシック Nonesuch", "-o", "-", "x"}, {},
                                                      inLocale(QStringLiteral("ja_JP.UTF-8")));
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.errorLines(), QStringList{"sorvel-render: font 'IPA Pゴシック Nonesuch' is not installed"});
    }
};

QTEST_MAIN(RenderCommandFontNamesTest)
#include "tst_render_command_font_names.moc"

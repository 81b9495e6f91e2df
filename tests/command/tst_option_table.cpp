// What is written about sorvel-render's options outside the program keeps up with its table:
// the README's sorvel-render section and the fuzz dictionary name every option, and nothing else.
#include "command/CommandOptions.h"

#include <QtTest>

#include <set>

using namespace sorvel::render_command;

namespace {

QString sourceFile(const QString& path)
{
    QFile file(QStringLiteral(SORVEL_SOURCE_DIR "/") + path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

// The README's section on sorvel-render without its shell examples (whose --target and --build
// are cmake's).
QString readmeSection()
{
    const QString readme = sourceFile(QStringLiteral("README.md"));
    const qsizetype start = readme.indexOf(QStringLiteral("\n## Pictures from scripts: sorvel-render"));
    if (start < 0)
        return {};
    const qsizetype end = readme.indexOf(QStringLiteral("\n## "), start + 1);
    QString section = readme.mid(start, end < 0 ? -1 : end - start);
    static const QRegularExpression examples(QStringLiteral("```.*?```"),
                                             QRegularExpression::DotMatchesEverythingOption);
    section.remove(examples);
    return section;
}

std::set<QString> matches(const QString& text, const QString& pattern)
{
    std::set<QString> found;
    const QRegularExpression expression(pattern);
    for (const QRegularExpressionMatch& match : expression.globalMatch(text))
        found.insert(match.captured(1));
    return found;
}

std::set<QString> tableNames(bool shortNames)
{
    std::set<QString> names;
    for (const CommandOption& option : commandOptions()) {
        if (!shortNames)
            names.insert(option.longName());
        else if (option.shortName)
            names.insert(QString::fromLatin1(option.shortName));
    }
    return names;
}

std::set<QString> jsonKeys()
{
    std::set<QString> keys{QStringLiteral("text")}; // the text argument's key
    for (const CommandOption& option : commandOptions()) {
        if (option.jsonKey)
            keys.insert(QString::fromLatin1(option.jsonKey));
    }
    return keys;
}

QString listed(const std::set<QString>& names)
{
    return QStringList(names.begin(), names.end()).join(QStringLiteral(", "));
}

std::set<QString> without(const std::set<QString>& from, const std::set<QString>& taken)
{
    std::set<QString> rest;
    std::set_difference(from.begin(), from.end(), taken.begin(), taken.end(), std::inserter(rest, rest.begin()));
    return rest;
}

// The tokens of a libFuzzer dictionary (name="value" lines, \xNN escapes) as text.
QStringList dictionaryTokens(const QString& dictionary)
{
    QStringList tokens;
    static const QRegularExpression line(QStringLiteral("^\\w+=\"(.*)\"$"), QRegularExpression::MultilineOption);
    for (const QRegularExpressionMatch& match : line.globalMatch(dictionary)) {
        const QString escaped = match.captured(1);
        QByteArray bytes;
        for (qsizetype i = 0; i < escaped.size(); ++i) {
            if (escaped[i] == u'\\' && i + 3 < escaped.size() && escaped[i + 1] == u'x') {
                bytes.append(static_cast<char>(escaped.mid(i + 2, 2).toInt(nullptr, 16)));
                i += 3;
            } else if (escaped[i] == u'\\' && i + 1 < escaped.size()) {
                bytes.append(escaped[++i].toLatin1());
            } else {
                bytes.append(QString(escaped[i]).toUtf8());
            }
        }
        tokens << QString::fromUtf8(bytes);
    }
    return tokens;
}

} // namespace

class TestOptionTable : public QObject {
    Q_OBJECT

private slots:
    void rowsAreConsistent();
    void readmeNamesEveryOption_data();
    void readmeNamesEveryOption();
    void fuzzDictionaryHoldsEveryOption();
};

// Every row can be told apart from the others on the command line and in a job line.
void TestOptionTable::rowsAreConsistent()
{
    std::set<QString> seen;
    for (const CommandOption& option : commandOptions()) {
        const QString name = option.longName();
        QVERIFY2(name.size() > 1 && seen.insert(name).second, option.name);
        if (option.shortName)
            QVERIFY2(qstrlen(option.shortName) == 1 && seen.insert(option.shortName).second, option.shortName);
        QCOMPARE(option.valueName != nullptr, option.kind != OptionKind::Flag);
        QVERIFY2(option.help && *option.help, option.name);
        // A picture's option sets the request through the setter of its kind; an option of the
        // run has none (the parser acts on it).
        const bool picture = option.isPictureOption();
        // (A value may also take true or false in a batch job, through a flag setter.)
        if (option.kind == OptionKind::Flag)
            QCOMPARE(option.setFlag != nullptr, picture);
        else
            QVERIFY2(picture || option.setFlag == nullptr, option.name);
        QCOMPARE(option.setValue != nullptr, picture && option.kind == OptionKind::Value);
        QCOMPARE(option.setValues != nullptr, picture && option.kind == OptionKind::Values);
        if (picture)
            QCOMPARE(optionForJsonKey(QString::fromLatin1(option.jsonKey)), &option);
    }
    QCOMPARE(optionForJsonKey(QStringLiteral("text")), nullptr);
}

void TestOptionTable::readmeNamesEveryOption_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("shortNames");
    QTest::newRow("long names") << QStringLiteral("(?<![\\w-])--([a-z][a-z-]*[a-z])") << false;
    QTest::newRow("short names") << QStringLiteral("(?<![\\w-])-([a-zA-Z])(?![\\w-])") << true;
}

void TestOptionTable::readmeNamesEveryOption()
{
    QFETCH(QString, pattern);
    QFETCH(bool, shortNames);
    const QString section = readmeSection();
    QVERIFY2(!section.isEmpty(), "README.md has a section on sorvel-render");
    const std::set<QString> inReadme = matches(section, pattern);
    const std::set<QString> inTable = tableNames(shortNames);
    QVERIFY2(without(inTable, inReadme).empty(),
             qPrintable("not in the README: " + listed(without(inTable, inReadme))));
    QVERIFY2(without(inReadme, inTable).empty(),
             qPrintable("in the README but no option: " + listed(without(inReadme, inTable))));
}

// The fuzzer's tokens: every option as a whole argument, every job key, and no option or key
// the command does not have.
void TestOptionTable::fuzzDictionaryHoldsEveryOption()
{
    const QStringList tokens = dictionaryTokens(sourceFile(QStringLiteral("fuzz/command.dict")));
    QVERIFY2(!tokens.isEmpty(), "fuzz/command.dict has tokens");
    std::set<QString> longNames;
    std::set<QString> shortNames;
    std::set<QString> keys;
    static const QRegularExpression longOption(QStringLiteral("^--([a-z][a-z-]*)(?:\\x{0}|=)$"));
    static const QRegularExpression shortOption(QStringLiteral("^-([a-zA-Z])\\x{0}$"));
    static const QRegularExpression key(QStringLiteral("^\"([a-z-]+)\": $"));
    for (const QString& token : tokens) {
        const QRegularExpressionMatch longMatch = longOption.match(token);
        const QRegularExpressionMatch shortMatch = shortOption.match(token);
        const QRegularExpressionMatch keyMatch = key.match(token);
        if (longMatch.hasMatch())
            longNames.insert(longMatch.captured(1));
        if (shortMatch.hasMatch())
            shortNames.insert(shortMatch.captured(1));
        if (keyMatch.hasMatch())
            keys.insert(keyMatch.captured(1));
    }
    QCOMPARE(listed(longNames), listed(tableNames(false)));
    QCOMPARE(listed(shortNames), listed(tableNames(true)));
    QCOMPARE(listed(keys), listed(jsonKeys()));
}

QTEST_GUILESS_MAIN(TestOptionTable)
#include "tst_option_table.moc"

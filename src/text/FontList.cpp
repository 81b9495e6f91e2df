#include "text/FontList.h"

#include "text/FontSystem.h"
#include "platform/Failure.h"

#include <QFont>
#include <QFontDatabase>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <fontconfig/fontconfig.h>

#include <memory>

namespace sorvel {

namespace {

// Every installed font's family names, as the font configuration lists them (the name of the
// locale's language first).
QList<QStringList> configuredFontNames()
{
    QList<QStringList> names;
    const std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> pattern(FcPatternCreate(), FcPatternDestroy);
    const std::unique_ptr<FcObjectSet, decltype(&FcObjectSetDestroy)> objects(FcObjectSetBuild(FC_FAMILY, nullptr),
                                                                              FcObjectSetDestroy);
    if (!pattern || !objects)
        return names;
    const std::unique_ptr<FcFontSet, decltype(&FcFontSetDestroy)> fonts(
        FcFontList(nullptr, pattern.get(), objects.get()), FcFontSetDestroy);
    if (!fonts)
        return names;
    for (int i = 0; i < fonts->nfont; ++i) {
        QStringList fontNames;
        FcChar8* value = nullptr;
        for (int k = 0; FcPatternGetString(fonts->fonts[i], FC_FAMILY, k, &value) == FcResultMatch; ++k)
            fontNames << QString::fromUtf8(reinterpret_cast<const char*>(value));
        if (!fontNames.isEmpty())
            names << fontNames;
    }
    return names;
}

} // namespace

QStringList familiesOnce(const QStringList& databaseFamilies)
{
    static const QRegularExpression foundry(QStringLiteral(" \\[[^\\]]*\\]$"));
    QStringList families;
    QSet<QString> seen;
    for (QString family : databaseFamilies) {
        family.remove(foundry);
        if (!seen.contains(family)) {
            seen.insert(family);
            families << family;
        }
    }
    return families;
}

QStringList installedFontNames()
{
    installFontSubstitutions();
    QStringList names = familiesOnce(QFontDatabase::families());
    if (QFontDatabase::hasFamily(defaultFontName))
        return names;
    const QStringList substitutes = QFont::substitutes(defaultFontName);
    for (const QString& substitute : substitutes) {
        if (QFontDatabase::hasFamily(substitute)) {
            names.append(defaultFontName);
            break;
        }
    }
    return names;
}

QList<FontFamilyNames> otherFamilyNames(const QStringList& families, const QList<QStringList>& fontNames)
{
    QList<FontFamilyNames> result;
    QHash<QString, qsizetype> position;
    for (const QString& family : families) {
        position.insert(family, result.size());
        result.append({family, {}});
    }
    for (const QStringList& names : fontNames) {
        for (const QString& name : names) {
            const auto found = position.constFind(name);
            if (found == position.constEnd())
                continue;
            QStringList& others = result[*found].otherNames;
            for (const QString& other : names) {
                if (!position.contains(other) && !others.contains(other))
                    others << other;
            }
        }
    }
    return result;
}

QList<FontFamilyNames> installedFontFamilies()
{
    return otherFamilyNames(installedFontNames(), configuredFontNames());
}

const QStringList& InstalledFontList::names()
{
    if (!m_names)
        m_names = installedFontNames();
    return *m_names;
}

int InstalledFontList::count()
{
    return static_cast<int>(names().size());
}

QString InstalledFontList::name(int index)
{
    const QStringList& all = names();
    if (index < 0 || index >= all.size())
        fail(FailureKind::OutOfRange);
    return all.at(index);
}

} // namespace sorvel

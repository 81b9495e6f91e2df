#include "text/FontList.h"

#include "text/FontSystem.h"
#include "platform/Failure.h"

#include <QFont>
#include <QFontDatabase>

namespace sorvel {

QStringList installedFontNames()
{
    installFontSubstitutions();
    QStringList names = QFontDatabase::families();
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

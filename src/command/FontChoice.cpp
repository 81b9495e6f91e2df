#include "command/FontChoice.h"

#include "command/CommandError.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QHash>

#include <algorithm>

#include <mutex>

namespace sorvel::render_command {

const QList<FontFamilyNames>& acceptedFontFamilies()
{
    static const QList<FontFamilyNames> families = installedFontFamilies();
    return families;
}

QString acceptedFontName(const QString& name)
{
    const QList<FontFamilyNames>& families = acceptedFontFamilies();
    const auto matches = [&name](const QString& known) {
        return QString::compare(known, name, Qt::CaseInsensitive) == 0;
    };
    // A family's own name first: another family's other name never hides it.
    for (const FontFamilyNames& family : families) {
        if (matches(family.name))
            return family.name;
    }
    for (const FontFamilyNames& family : families) {
        if (std::any_of(family.otherNames.cbegin(), family.otherNames.cend(), matches))
            return family.name;
    }
    commandFailed(QStringLiteral("font %1 is not installed").arg(quoted(name)));
}

QStringList fontListLines()
{
    QStringList lines;
    for (const FontFamilyNames& family : acceptedFontFamilies())
        lines << (QStringList(family.name) + family.otherNames).join(u'\t');
    return lines;
}

QString familyOfFontFile(const QString& path)
{
    static std::mutex mutex;
    static QHash<QString, QString> families; // path: family, or empty when it failed
    const std::lock_guard lock(mutex);
    const auto known = families.constFind(path);
    QString family;
    if (known != families.constEnd()) {
        family = *known;
    } else {
        const QFileInfo info(path);
        if (info.isFile() && info.isReadable()) {
            const int id = QFontDatabase::addApplicationFont(path);
            const QStringList loaded = id >= 0 ? QFontDatabase::applicationFontFamilies(id) : QStringList();
            if (!loaded.isEmpty())
                family = loaded.constFirst();
        }
        families.insert(path, family);
    }
    if (family.isEmpty()) {
        QString reason = unreadableFileReason(path);
        if (reason.isEmpty())
            reason = QStringLiteral("not a TrueType or OpenType font, or damaged");
        commandFailed(QStringLiteral("cannot load font file %1: %2").arg(quoted(path), reason));
    }
    return family;
}

} // namespace sorvel::render_command

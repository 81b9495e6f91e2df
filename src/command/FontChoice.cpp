#include "command/FontChoice.h"

#include "command/CommandError.h"
#include "text/FontList.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QHash>

#include <mutex>

namespace sorvel::render_command {

const QStringList& acceptedFontNames()
{
    static const QStringList names = installedFontNames();
    return names;
}

QString acceptedFontName(const QString& name)
{
    for (const QString& entry : acceptedFontNames()) {
        if (QString::compare(entry, name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    commandFailed(QStringLiteral("font %1 is not installed").arg(quoted(name)));
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

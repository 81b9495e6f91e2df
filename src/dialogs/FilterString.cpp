#include "dialogs/FilterString.h"

namespace sorvel {

QStringList toNameFilters(const QString& filterText)
{
    QStringList items = filterText.split(u'|');
    if (filterText.endsWith(u'|'))
        items.removeLast(); // the closing bar ends the last item, it starts none

    QStringList nameFilters;
    for (qsizetype i = 0; i + 1 < items.size(); i += 2) {
        QStringList masks = items.at(i + 1).split(u';', Qt::SkipEmptyParts);
        for (QString& mask : masks)
            mask = mask.trimmed();
        masks.removeAll(QString());
        if (masks.isEmpty())
            continue;
        const QString joined = masks.join(u' ');
        const QString description = items.at(i).trimmed();
        nameFilters.append(description.isEmpty() ? joined : description + QStringLiteral(" (") + joined + u')');
    }
    return nameFilters;
}

} // namespace sorvel

#include "platform/widgets/NameFilterSuffix.h"

namespace sorvel {

namespace {

bool hasWildcard(const QString& text)
{
    return text.contains(u'*') || text.contains(u'?') || text.contains(u'[');
}

} // namespace

QStringList masksOfNameFilter(const QString& nameFilter)
{
    QString masks = nameFilter.trimmed();
    const qsizetype open = masks.lastIndexOf(u'(');
    if (masks.endsWith(u')') && open >= 0)
        masks = masks.mid(open + 1, masks.size() - open - 2);
    return masks.split(u' ', Qt::SkipEmptyParts);
}

QString defaultSuffixOfNameFilter(const QString& nameFilter)
{
    const QStringList masks = masksOfNameFilter(nameFilter);
    if (masks.isEmpty() || !masks.first().startsWith(QStringLiteral("*.")))
        return {};
    const QString suffix = masks.first().mid(2);
    if (suffix.isEmpty() || hasWildcard(suffix))
        return {};
    return suffix;
}

QString withDefaultSuffix(const QString& path, const QString& nameFilter)
{
    const QString fileName = path.mid(path.lastIndexOf(u'/') + 1);
    if (fileName.isEmpty() || fileName.contains(u'.'))
        return path;
    const QString suffix = defaultSuffixOfNameFilter(nameFilter);
    if (suffix.isEmpty())
        return path;
    return path + u'.' + suffix;
}

} // namespace sorvel

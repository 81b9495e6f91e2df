#include "dialogs/FileDlgMod.h"

namespace sorvel::FileDlgMod {

namespace {
constexpr QChar pathSeparator = u'/';
} // namespace

QString folderDialogStart;

QString TrimNull(const QString& s)
{
    const qsizetype end = s.indexOf(QChar(u'\0'));
    return end < 0 ? s : s.left(end);
}

QString withTrailingSlash(const QString& s)
{
    return s.endsWith(pathSeparator) ? s : s + pathSeparator;
}

} // namespace sorvel::FileDlgMod

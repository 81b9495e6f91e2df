#pragma once
// The extension a save dialog gives a name typed without one: the extension of the file-type
// entry selected in the dialog, because the program picks the output format from the name.

#include <QString>
#include <QStringList>

namespace sorvel {

// The masks of a Qt name filter: "PNGファイル (*.png)" -> {"*.png"};
// "画像 (*.bmp *.jpg)" -> {"*.bmp", "*.jpg"}; a filter without parentheses is all masks.
QStringList masksOfNameFilter(const QString& nameFilter);

// The extension (without the dot) that the first mask of the filter names: "*.png" -> "png".
// Empty for masks that name no single extension ("*.*", "*", "*.jp?", "readme").
QString defaultSuffixOfNameFilter(const QString& nameFilter);

// The path with ".<suffix>" appended when its file name has no dot and the filter names an
// extension; otherwise the path unchanged.
QString withDefaultSuffix(const QString& path, const QString& nameFilter);

} // namespace sorvel

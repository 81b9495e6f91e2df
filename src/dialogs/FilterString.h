#pragma once
// The filter text of the open and save dialogs: descriptions and patterns, each followed by
// "|", the last one included ("PNGファイル|*.png|すべてのファイル|*.*|"). A pattern is one mask
// or several joined by ";". There is no escape: neither part can hold "|".

#include <QString>
#include <QStringList>

namespace sorvel {

// The filter text as Qt name filters, one per description/pattern pair, in order:
// "画像|*.bmp;*.jpg|" -> {"画像 (*.bmp *.jpg)"}. Lenient where the text is malformed:
// a missing closing "|" is taken as present, a description without a pattern (at the end, or
// with an empty pattern) is left out, and an empty description shows the masks themselves.
// An empty text gives an empty list.
QStringList toNameFilters(const QString& filterText);

} // namespace sorvel

#pragma once
// Where one character (a grapheme cluster) of a laid-out text lies, in the coordinates the text
// is drawn in.

#include <QRectF>
#include <QString>

namespace sorvel {

struct CharacterBox {
    QRectF rect;
    QString text;
};

} // namespace sorvel

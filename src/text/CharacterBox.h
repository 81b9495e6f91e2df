#pragma once
// Where one user-perceived character (grapheme cluster) of a laid-out text lies.

#include <QRectF>
#include <QString>

namespace sorvel {

struct CharacterBox {
    QRectF rect;  // in whole pixels of the drawing
    QString text; // the character as the text holds it
};

} // namespace sorvel

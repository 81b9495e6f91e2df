#pragma once
// A font for a box that shows a number: the largest size of the box's face in which a number of
// so many digits fits the box's text rectangle.

#include <QFont>

class QComboBox;

namespace sorvel {

// font itself when digits of its widest digit fit width pixels, else the same face one pixel
// smaller, and so on; never below minimumPixels.
QFont fontFittingDigits(const QFont& font, int width, int digits, int minimumPixels);

// The width in which an editable combo box's edit field draws its text, by its style: the edit
// field less the two pixels a line edit keeps free on either side, and its text margins.
int editFieldTextWidth(const QComboBox& box);

} // namespace sorvel

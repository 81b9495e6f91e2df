#pragma once
// Where one line of text (no CR LF inside) breaks into lines no wider than a width, following
// Qt's Unicode line breaking. The blanks at a break belong to no line: they are neither drawn
// nor measured.

#include "text/TextLayoutOptions.h"

#include <QFont>
#include <QStringView>
#include <QTextLayout>

#include <vector>

namespace sorvel {

struct LineSpan {
    int start = 0; // index of the first unit within the text
    int length = 0;
};

// The lines of text at width pixels (width > 0) in font at 96 dpi. WrapMode::None gives the
// whole text. A character wider than the width alone still gets a line of its own. formats give
// parts of the text other fonts (emoji), as the printed lines get them.
std::vector<LineSpan> wrapLine(QStringView text, const QFont& font, int width, WrapMode mode,
                               const QList<QTextLayout::FormatRange>& formats = {});

} // namespace sorvel

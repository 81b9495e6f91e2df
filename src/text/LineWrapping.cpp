#include "text/LineWrapping.h"

#include "text/PaintDevice.h"

#include <QTextLayout>

namespace sorvel {

std::vector<LineSpan> wrapLine(QStringView text, const QFont& font, int width, WrapMode mode,
                               const QList<QTextLayout::FormatRange>& formats)
{
    const int length = static_cast<int>(text.size());
    if (mode == WrapMode::None || width <= 0 || length == 0)
        return {LineSpan{0, length}};

    const QString owned = text.toString();
    QTextLayout layout(owned, font, &paintDevice96());
    QTextOption option;
    option.setWrapMode(mode == WrapMode::Word ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::WrapAnywhere);
    layout.setTextOption(option);
    layout.setFormats(formats);
    std::vector<LineSpan> spans;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        int start = line.textStart();
        int end = start + line.textLength();
        // Blanks where a line breaks hang past its end; a line that is nothing but blanks
        // (leading blanks of the text) keeps them.
        if (end < length) {
            int trimmed = end;
            while (trimmed > start && owned.at(trimmed - 1).isSpace())
                --trimmed;
            if (trimmed > start)
                end = trimmed;
        }
        spans.push_back(LineSpan{start, end - start});
    }
    layout.endLayout();
    if (spans.empty())
        spans.push_back(LineSpan{0, length});
    return spans;
}

} // namespace sorvel

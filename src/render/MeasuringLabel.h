#pragma once
// The measuring label, never shown: sizes itself to its caption in its font, without word wrap.
// One line per CR LF pair; width of the widest line, height = lines x the font's line height.
// Every character counts as printed (an ampersand is never a mnemonic). Measured at 96 dpi.

#include "text/TextLayoutOptions.h"

#include <QFont>
#include <QString>

namespace sorvel {

class MeasuringLabel {
public:
    MeasuringLabel();

    const QString& caption() const { return m_caption; }
    void setCaption(const QString& caption);
    const QFont& font() const { return m_font; }
    void setFont(const QFont& font);
    // Wrapping and alignment of the caption; the default measures as described above.
    void setLayout(const TextLayoutOptions& layout);

    int width() const;
    int height() const;

private:
    void measure() const;

    QString m_caption;
    QFont m_font;
    TextLayoutOptions m_layout;
    mutable bool m_measured = false;
    mutable int m_width = 0;
    mutable int m_height = 0;
};

} // namespace sorvel

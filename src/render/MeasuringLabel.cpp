#include "render/MeasuringLabel.h"

#include "text/FontSystem.h"
#include "text/TextBlock.h"

namespace sorvel {

MeasuringLabel::MeasuringLabel()
    : m_caption(QStringLiteral("Label3")), m_font(makeFont(defaultFontName, designFontPoints))
{
}

void MeasuringLabel::setCaption(const QString& caption)
{
    m_caption = caption;
    m_measured = false;
}

void MeasuringLabel::setFont(const QFont& font)
{
    m_font = font;
    m_measured = false;
}

void MeasuringLabel::setLayout(const TextLayoutOptions& layout)
{
    m_layout = layout;
    m_measured = false;
}

void MeasuringLabel::measure() const
{
    if (m_measured)
        return;
    const auto block = TextBlock::of(m_caption, m_font, m_layout);
    m_width = block->width();
    m_height = block->height();
    m_measured = true;
}

int MeasuringLabel::width() const
{
    measure();
    return m_width;
}

int MeasuringLabel::height() const
{
    measure();
    return m_height;
}

} // namespace sorvel

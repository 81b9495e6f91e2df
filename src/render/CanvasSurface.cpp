#include "render/CanvasSurface.h"

#include "platform/Conversions.h"
#include "text/FontSystem.h"
#include "text/PaintDevice.h"
#include "platform/Failure.h"
#include "text/TextBlock.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace sorvel {

namespace {

// The whole-pixel rule: nearest, halves to even; limited to 0..maxSide.
int toPixels(double value)
{
    if (std::isnan(value))
        fail(FailureKind::BadArgument);
    const double r = roundHalfEven(value);
    return static_cast<int>(std::clamp(r, 0.0, static_cast<double>(CanvasSurface::maxSide)));
}

// With a see-through background, 16 bits a channel: a pixel that text covers only a little
// still knows the text's own colour exactly when its alpha is taken out again.
QImage::Format imageFormatFor(const QColor& fill)
{
    return fill.alpha() == 255 ? QImage::Format_RGB32 : QImage::Format_RGBA64_Premultiplied;
}

QImage makeImage(int width, int height, const QColor& fill)
{
    if (width <= 0 || height <= 0)
        return {};
    QImage image(width, height, imageFormatFor(fill));
    if (image.isNull())
        fail(FailureKind::OutOfMemory);
    image.setDotsPerMeterX(dotsPerMeter96);
    image.setDotsPerMeterY(dotsPerMeter96);
    image.fill(fill);
    return image;
}

} // namespace

QColor CanvasSurface::backFill() const
{
    QColor fill = toQColor(m_backColor);
    if (m_backAlpha != 255)
        fill.setAlpha(m_backAlpha);
    return fill;
}

CanvasSurface::CanvasSurface() : m_font(makeFont(defaultFontName, designFontPoints))
{
    clear();
}

void CanvasSurface::setResizeListener(std::function<void()> listener)
{
    m_listener = std::move(listener);
}

void CanvasSurface::setCurrentX(double x)
{
    if (!std::isfinite(x))
        fail(FailureKind::OutOfRange);
    m_currentX = static_cast<float>(x);
}

void CanvasSurface::setCurrentY(double y)
{
    if (!std::isfinite(y))
        fail(FailureKind::OutOfRange);
    m_currentY = static_cast<float>(y);
}

void CanvasSurface::clear()
{
    m_blankFill = backFill().rgba();
    m_imageStale = true;
    m_currentX = 0.0f;
    m_currentY = 0.0f;
}

// A blank canvas gets its pixels here, in its blank colour; the buffer of the same size is
// reused unless another image shares it (a copy on the clipboard), which then keeps it: filling
// a shared buffer would first copy every pixel only to overwrite them. Fails with OutOfMemory
// when the memory is not there (the canvas then stays without pixels).
void CanvasSurface::makeImageCurrent() const
{
    if (!m_imageStale)
        return;
    const QColor fill = QColor::fromRgba(*m_blankFill);
    if (!m_image.isNull() && m_image.isDetached() && m_image.width() == m_width && m_image.height() == m_height &&
        m_image.format() == imageFormatFor(fill)) {
        m_image.fill(fill);
    } else {
        m_image = QImage();
        m_image = makeImage(m_width, m_height, fill);
    }
    m_imageStale = false;
}

const QImage& CanvasSurface::image() const
{
    try {
        makeImageCurrent();
    } catch (const Failure&) {
    }
    return m_image;
}

void CanvasSurface::setWidth(double width)
{
    int w = toPixels(width);
    if (m_height > 0)
        w = static_cast<int>(std::min<long long>(w, maxArea / m_height));
    if (w == m_width)
        return;
    resizeImage(w, m_height);
}

void CanvasSurface::setHeight(double height)
{
    int h = toPixels(height);
    if (m_width > 0)
        h = static_cast<int>(std::min<long long>(h, maxArea / m_width));
    if (h == m_height)
        return;
    resizeImage(m_width, h);
}

void CanvasSurface::setSize(double width, double height)
{
    const int w = toPixels(width);
    int h = toPixels(height);
    if (w > 0)
        h = static_cast<int>(std::min<long long>(h, maxArea / w));
    if (w == m_width && h == m_height)
        return;
    resizeImage(w, h);
}

void CanvasSurface::resizeImage(int width, int height)
{
    const QColor fill = backFill();
    if (m_blankFill == fill.rgba()) {
        // Blank in the colour new area gets: the whole canvas stays that colour.
        m_imageStale = true;
    } else {
        makeImageCurrent();
        QImage resized = makeImage(width, height, fill);
        if (!resized.isNull() && !m_image.isNull()) {
            if (resized.format() != m_image.format()) {
                QPainter painter(&resized);
                painter.setCompositionMode(QPainter::CompositionMode_Source);
                painter.drawImage(0, 0, m_image);
            } else {
                const int rows = std::min(height, m_image.height());
                const std::size_t bytes =
                    static_cast<std::size_t>(std::min(width, m_image.width())) * (m_image.depth() / 8);
                for (int y = 0; y < rows; ++y)
                    std::memcpy(resized.scanLine(y), m_image.constScanLine(y), bytes);
            }
        }
        m_blankFill.reset();
        m_image = std::move(resized);
    }
    m_width = width;
    m_height = height;
    if (m_listener)
        m_listener();
}

void CanvasSurface::drawPicture(const QImage& picture, int x, int y)
{
    if (picture.isNull())
        fail(FailureKind::BadArgument);
    makeImageCurrent();
    if (m_image.isNull())
        return;
    m_blankFill.reset();
    QPainter painter(&m_image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(x, y, picture);
}

void CanvasSurface::drawTiled(const QImage& tile, int right, int bottom)
{
    if (tile.isNull())
        fail(FailureKind::BadArgument);
    makeImageCurrent();
    if (m_image.isNull() || right < 0 || bottom < 0)
        return;
    const QImage::Format format = m_image.format();
    const QImage source = tile.format() == format ? tile : tile.convertToFormat(format);
    const int pixelBytes = source.depth() / 8;
    const int tw = source.width();
    const int th = source.height();
    // Tiles start at every multiple of the tile size up to and including right/bottom.
    const long long coveredW = (static_cast<long long>(right) / tw + 1) * tw;
    const long long coveredH = (static_cast<long long>(bottom) / th + 1) * th;
    const int width = static_cast<int>(std::min<long long>(coveredW, m_image.width()));
    const int height = static_cast<int>(std::min<long long>(coveredH, m_image.height()));
    if (width <= 0 || height <= 0)
        return;
    m_blankFill.reset();
    // Each row: one tile row copied, then the filled part doubled until the row is full.
    for (int y = 0; y < height; ++y) {
        uchar* row = m_image.scanLine(y);
        const uchar* tileRow = source.constScanLine(y % th);
        int filled = std::min(tw, width);
        std::memcpy(row, tileRow, static_cast<std::size_t>(filled) * pixelBytes);
        while (filled < width) {
            const int n = std::min(filled, width - filled);
            std::memcpy(row + static_cast<std::ptrdiff_t>(filled) * pixelBytes, row,
                        static_cast<std::size_t>(n) * pixelBytes);
            filled += n;
        }
    }
}

void CanvasSurface::print(const QString& text, bool lineEnd)
{
    printLines(text, nullptr, lineEnd);
}

void CanvasSurface::printColored(const QString& text, const std::vector<ColorValue>& unitColors, bool lineEnd)
{
    printLines(text, &unitColors, lineEnd);
}

void CanvasSurface::printLines(const QString& text, const std::vector<ColorValue>* unitColors, bool lineEnd)
{
    const auto block = TextBlock::of(text, m_font, m_layout);
    const double x = roundHalfEven(m_currentX);
    const double y = roundHalfEven(m_currentY);
    if (!text.isEmpty())
        makeImageCurrent();
    if (!m_image.isNull() && !text.isEmpty()) {
        m_blankFill.reset();
        QPainter painter(&m_image);
        painter.setFont(m_font);
        if (unitColors) {
            std::vector<QColor> colors;
            colors.reserve(unitColors->size());
            for (ColorValue c : *unitColors)
                colors.push_back(toQColor(c));
            block->drawColored(painter, x, y, colors);
        } else {
            block->draw(painter, x, y, toQColor(m_foreColor));
        }
    }
    const int lines = block->lineCount();
    if (lineEnd) {
        m_currentX = 0.0f;
        m_currentY = static_cast<float>(m_currentY + static_cast<double>(lines) * block->lineHeight());
    } else {
        const double startX = lines == 1 ? m_currentX : 0.0;
        m_currentX = static_cast<float>(startX + block->lastLineAdvance());
        m_currentY = static_cast<float>(m_currentY + static_cast<double>(lines - 1) * block->lineHeight());
    }
}

void CanvasSurface::outlineRect(int x1, int y1, int x2, int y2, ColorValue color)
{
    makeImageCurrent();
    if (m_image.isNull())
        return;
    const QRect bounds = QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2), std::max(y1, y2)));
    m_blankFill.reset();
    QPainter painter(&m_image);
    const QColor c = toQColor(color);
    painter.fillRect(QRect(bounds.left(), bounds.top(), bounds.width(), 1), c);
    painter.fillRect(QRect(bounds.left(), bounds.bottom(), bounds.width(), 1), c);
    painter.fillRect(QRect(bounds.left(), bounds.top(), 1, bounds.height()), c);
    painter.fillRect(QRect(bounds.right(), bounds.top(), 1, bounds.height()), c);
}

} // namespace sorvel

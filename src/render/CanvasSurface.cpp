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

void CanvasSurface::printSilhouette(const QString& text, bool lineEnd)
{
    printLines(text, nullptr, lineEnd, true);
}

void CanvasSurface::printLines(const QString& text, const std::vector<ColorValue>* unitColors, bool lineEnd,
                               bool silhouette)
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
        } else if (silhouette) {
            block->drawSilhouette(painter, x, y, toQColor(m_foreColor));
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

QImage CanvasSurface::inkOf(const QString& text, double x, double y) const
{
    if (m_width <= 0 || m_height <= 0)
        return {};
    // The buffer of the previous rendering, once nothing else holds it: fresh pages of this
    // size cost more than drawing the text.
    if (m_ink.width() != m_width || m_ink.height() != m_height || !m_ink.isDetached()) {
        m_ink = QImage();
        m_ink = QImage(m_width, m_height, QImage::Format_ARGB32_Premultiplied);
        if (m_ink.isNull())
            fail(FailureKind::OutOfMemory);
        m_ink.setDotsPerMeterX(dotsPerMeter96);
        m_ink.setDotsPerMeterY(dotsPerMeter96);
    }
    m_ink.fill(Qt::transparent);
    if (!text.isEmpty()) {
        QPainter painter(&m_ink);
        painter.setFont(m_font);
        TextBlock::of(text, m_font, m_layout)->draw(painter, roundHalfEven(x), roundHalfEven(y), toQColor(m_foreColor));
    }
    return m_ink;
}

void CanvasSurface::drawOver(const QImage& ink)
{
    if (ink.isNull())
        fail(FailureKind::BadArgument);
    makeImageCurrent();
    if (m_image.isNull())
        return;
    m_blankFill.reset();
    QPainter painter(&m_image);
    painter.drawImage(0, 0, ink);
}

namespace {

// a * b / 255 for a and b of 0 to 255, rounded.
inline unsigned timesAlpha(unsigned a, unsigned b)
{
    const unsigned t = a * b + 128;
    return (t + (t >> 8)) >> 8;
}

// a * b / 65535 for a and b of 0 to 65535, rounded.
inline std::uint64_t timesAlpha16(std::uint64_t a, std::uint64_t b)
{
    return (a * b + 32767) / 65535;
}

// A layer as the loops below take it: its mask's row and its colour's channels.
struct LayerRow {
    const std::uint8_t* coverage;
    unsigned red, green, blue, alpha;
    QRgb color; // opaque
};

// The first layer to blend at a pixel: the topmost that covers it wholly in an opaque colour
// hides every layer beneath it.
inline std::size_t firstVisibleLayer(const std::vector<LayerRow>& layers, int x)
{
    for (std::size_t i = layers.size(); i > 0; --i) {
        if (layers[i - 1].coverage[x] == 255 && layers[i - 1].alpha == 255)
            return i - 1;
    }
    return 0;
}

inline bool anyCoverage(const std::vector<LayerRow>& layers, int x)
{
    for (const LayerRow& layer : layers) {
        if (layer.coverage[x] != 0)
            return true;
    }
    return false;
}

// x a + y b for the four channels of two pixels, a + b = 255, each channel rounded.
inline QRgb interpolate255(QRgb x, unsigned a, QRgb y, unsigned b)
{
    unsigned t = (x & 0xff00ffu) * a + (y & 0xff00ffu) * b;
    t = ((t + ((t >> 8) & 0xff00ffu) + 0x800080u) >> 8) & 0xff00ffu;
    unsigned u = ((x >> 8) & 0xff00ffu) * a + ((y >> 8) & 0xff00ffu) * b;
    u = (u + ((u >> 8) & 0xff00ffu) + 0x800080u) & 0xff00ff00u;
    return u | t;
}

// One layer: most pixels are either not covered or wholly covered.
void paintOpaqueRow(QRgb* row, int width, const LayerRow& layer)
{
    const QRgb color = qRgb(static_cast<int>(layer.red), static_cast<int>(layer.green), static_cast<int>(layer.blue));
    const std::uint8_t* coverage = layer.coverage;
    int x = 0;
    while (x < width) {
        // Eight pixels at a time where none or all are covered.
        if (x + 8 <= width) {
            std::uint64_t eight;
            std::memcpy(&eight, coverage + x, sizeof eight);
            if (eight == 0) {
                x += 8;
                continue;
            }
            if (eight == ~std::uint64_t{0} && layer.alpha == 255) {
                std::fill_n(row + x, 8, color);
                x += 8;
                continue;
            }
        }
        const unsigned a = layer.alpha == 255 ? coverage[x] : timesAlpha(coverage[x], layer.alpha);
        if (a == 255)
            row[x] = color;
        else if (a != 0)
            row[x] = interpolate255(color, a, row[x], 255 - a) | 0xff000000u;
        ++x;
    }
}

void paintOpaqueRow(QRgb* row, int width, const std::vector<LayerRow>& layers)
{
    if (layers.size() == 1) {
        paintOpaqueRow(row, width, layers.front());
        return;
    }
    for (int x = 0; x < width; ++x) {
        if (!anyCoverage(layers, x))
            continue;
        QRgb pixel = row[x];
        for (std::size_t i = firstVisibleLayer(layers, x); i < layers.size(); ++i) {
            const LayerRow& layer = layers[i];
            const unsigned a = timesAlpha(layer.coverage[x], layer.alpha);
            if (a == 255)
                pixel = qRgb(static_cast<int>(layer.red), static_cast<int>(layer.green), static_cast<int>(layer.blue));
            else if (a != 0)
                pixel = interpolate255(layer.color, a, pixel, 255 - a);
        }
        row[x] = pixel | 0xff000000u;
    }
}

void paintSeeThroughRow(QRgba64* row, int width, const std::vector<LayerRow>& layers)
{
    for (int x = 0; x < width; ++x) {
        if (!anyCoverage(layers, x))
            continue;
        QRgba64& pixel = row[x];
        std::uint64_t r = pixel.red();
        std::uint64_t g = pixel.green();
        std::uint64_t b = pixel.blue();
        std::uint64_t alpha = pixel.alpha();
        for (std::size_t i = firstVisibleLayer(layers, x); i < layers.size(); ++i) {
            const LayerRow& layer = layers[i];
            const unsigned a8 = timesAlpha(layer.coverage[x], layer.alpha);
            if (a8 == 0)
                continue;
            const std::uint64_t a = a8 * 257u;
            const std::uint64_t rest = 65535 - a;
            r = timesAlpha16(layer.red * 257u, a) + timesAlpha16(r, rest);
            g = timesAlpha16(layer.green * 257u, a) + timesAlpha16(g, rest);
            b = timesAlpha16(layer.blue * 257u, a) + timesAlpha16(b, rest);
            alpha = a + timesAlpha16(alpha, rest);
        }
        pixel = QRgba64::fromRgba64(static_cast<quint16>(r), static_cast<quint16>(g), static_cast<quint16>(b),
                                    static_cast<quint16>(alpha));
    }
}

} // namespace

void CanvasSurface::paintCoverage(std::span<const CoverageLayer> layers)
{
    makeImageCurrent();
    if (m_image.isNull() || layers.empty())
        return;
    for (const CoverageLayer& layer : layers) {
        if (!layer.mask || layer.mask->width != m_image.width() || layer.mask->height != m_image.height())
            fail(FailureKind::BadArgument);
    }
    m_blankFill.reset();
    const int width = m_image.width();
    std::vector<LayerRow> rows;
    for (const CoverageLayer& layer : layers) {
        rows.push_back({nullptr, static_cast<unsigned>(layer.color.red()), static_cast<unsigned>(layer.color.green()),
                        static_cast<unsigned>(layer.color.blue()), static_cast<unsigned>(layer.color.alpha()),
                        qRgb(layer.color.red(), layer.color.green(), layer.color.blue())});
    }
    const auto atRow = [&](int y) {
        for (std::size_t i = 0; i < rows.size(); ++i)
            rows[i].coverage = layers[i].mask->row(y);
    };
    if (m_image.format() == QImage::Format_RGB32) {
        for (int y = 0; y < m_image.height(); ++y) {
            atRow(y);
            paintOpaqueRow(reinterpret_cast<QRgb*>(m_image.scanLine(y)), width, rows);
        }
    } else {
        if (m_image.format() != QImage::Format_RGBA64_Premultiplied)
            m_image.convertTo(QImage::Format_RGBA64_Premultiplied);
        for (int y = 0; y < m_image.height(); ++y) {
            atRow(y);
            paintSeeThroughRow(reinterpret_cast<QRgba64*>(m_image.scanLine(y)), width, rows);
        }
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

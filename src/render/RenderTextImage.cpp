#include "render/RenderTextImage.h"

#include "render/CanvasSurface.h"
#include "platform/Conversions.h"
#include "render/DCReadPNG.h"
#include "render/MeasuringLabel.h"
#include "render/PictureHolder.h"
#include "platform/Failure.h"
#include "render/ColorHLSToRGB.h"
#include "render/PaletteColor.h"
#include "image/ImageFormatTable.h"

#include <algorithm>
#include <new>
#include <vector>

namespace sorvel {

namespace {

constexpr double italicWidening = 1.05;
constexpr double shadowWidening = 1.04;
constexpr double shadowHeightening = 1.03;
constexpr double shadowOffset = 0.08;
constexpr int shadowPaletteIndex = 7;
constexpr float hueSpan = 200.0f;
constexpr std::uint16_t rainbowLuminance = 160;
constexpr std::uint16_t rainbowSaturation = 200;
// An empty text (or one of zero-width characters only) measures 0 pixels wide. The canvas
// keeps two pixels, so that a frame has its columns and copy and save have a picture.
constexpr int minimumCanvasWidth = 2;

// The measured width as the canvas takes it.
int measuredWidth(const MeasuringLabel& label)
{
    return std::max(label.width(), minimumCanvasWidth);
}

// One guarded operation: a failure abandons this operation only.
template <class Operation> void guarded(Operation&& operation) noexcept
{
    try {
        operation();
    } catch (const Failure&) {
    } catch (const std::bad_alloc&) {
    }
}

void tileBackground(const RenderSurfaces& out)
{
    const int canvasWidth = out.canvas.scaleWidth();
    const int tileWidth = out.holder.scaleWidth();
    const int canvasHeight = out.canvas.scaleHeight();
    const int tileHeight = out.holder.scaleHeight();
    // A holder without area would never advance the tiling.
    if (tileWidth <= 0 || tileHeight <= 0)
        return;
    out.canvas.drawTiled(out.holder.picture(), canvasWidth, canvasHeight);
}

void drawBackgroundPicture(const QString& path, const RenderSurfaces& out)
{
    switch (backgroundFormatOf(path)) {
    case BackgroundFormat::Picture:
        guarded([&] { out.holder.loadPicture(path); });
        break;
    case BackgroundFormat::Png:
        guarded([&] { out.holder.clearPicture(); });
        guarded([&] { DCReadPNG(path, out.holder); });
        guarded([&] { out.holder.takeSurfaceAsPicture(); });
        break;
    case BackgroundFormat::None:
        return;
    }
    guarded([&] { tileBackground(out); });
}

void printRainbow(const QString& text, CanvasSurface& canvas)
{
    const auto length = static_cast<std::int32_t>(text.size());
    if (length == 0)
        return;
    const float hueStep = hueSpan / static_cast<float>(length);
    std::vector<ColorValue> colors(static_cast<std::size_t>(length));
    for (std::int32_t i = 0; i < length; ++i) {
        const std::int16_t hue = toInt16(static_cast<double>(i) * static_cast<double>(hueStep));
        colors[static_cast<std::size_t>(i)] =
            ColorHLSToRGB(static_cast<std::uint16_t>(hue), rainbowLuminance, rainbowSaturation);
    }
    canvas.printColored(text, colors, false);
}

} // namespace

BackgroundFormat backgroundFormatOf(const QString& path)
{
    const std::optional<PictureKind> reader = backgroundReaderFor(path);
    if (!reader)
        return BackgroundFormat::None;
    return *reader == PictureKind::Png ? BackgroundFormat::Png : BackgroundFormat::Picture;
}

QFont canvasFontOf(const TextImageSettings& settings)
{
    QFont font = makeFont(settings.FontName, settings.FontSize);
    font.setBold(settings.FontBold);
    font.setItalic(settings.FontItalic);
    font.setUnderline(settings.FontUnderline);
    font.setStrikeOut(settings.FontStrikethrough);
    return font;
}

void RenderTextImage(const TextImageSettings& s, const RenderSurfaces& out) noexcept
{
    CanvasSurface& canvas = out.canvas;
    MeasuringLabel& label = out.label;

    // The canvas font and colours as the window holds them.
    guarded([&] { canvas.setFont(canvasFontOf(s)); });
    canvas.setForeColor(s.ForeColor);
    canvas.setBackColor(s.BackColor);
    canvas.setBackAlpha(s.BackAlpha);
    // Lines after the first start at the left margin; the size grows by the margins.
    TextLayoutOptions layout = s.Layout;
    layout.lineStart = s.Margins.left;
    canvas.setLayout(layout);
    label.setLayout(layout);
    const int marginsX = s.Margins.horizontal();
    const int marginsY = s.Margins.vertical();
    // With a layout of its own the picture covers the widened canvas too, margins included;
    // the window's layout keeps the strip that widening adds in the background colour.
    const bool ownLayout = s.Layout != TextLayoutOptions{} || s.Margins != PictureMargins{};
    const auto coverWidenedCanvas = [&] {
        if (ownLayout && !s.strBackImage.isEmpty())
            guarded([&] { tileBackground(out); });
    };

    // 1. Measure.
    guarded([&] { label.setCaption(s.Text); });
    guarded([&] { label.setFont(canvas.font()); });
    // 2. Clear. 3. Size: both sides at once, so the area limit never depends on the size the
    // previous text left behind.
    guarded([&] { canvas.clear(); });
    guarded([&] { canvas.setSize(measuredWidth(label) + marginsX, label.height() + marginsY); });
    // 4. Background picture, tiled over the canvas at its measured size.
    if (!s.strBackImage.isEmpty())
        drawBackgroundPicture(s.strBackImage, out);
    // 5. Italic widening.
    if (s.FontItalic) {
        guarded([&] { canvas.setWidth(measuredWidth(label) * italicWidening + marginsX); });
        coverWidenedCanvas();
    }
    // 6. Shadow: its own widening replaces the italic one.
    if (s.Shadow) {
        guarded([&] { canvas.setCurrentX(textToInt16(s.SizeText) * shadowOffset + s.Margins.left); });
        guarded([&] { canvas.setCurrentY(textToInt16(s.SizeText) * shadowOffset + s.Margins.top); });
        guarded([&] { canvas.setHeight(label.height() * shadowHeightening + marginsY); });
        guarded([&] { canvas.setWidth(measuredWidth(label) * shadowWidening + marginsX); });
        coverWidenedCanvas();
        const ColorValue saved = canvas.foreColor();
        guarded([&] { canvas.setForeColor(PaletteColor(shadowPaletteIndex)); });
        guarded([&] { canvas.print(s.Text, true); });
        canvas.setForeColor(saved);
    }
    // 7. Frame, following the final canvas size.
    if (s.Framed) {
        guarded(
            [&] { canvas.outlineRect(0, 0, canvas.scaleWidth() - 1, canvas.scaleHeight() - 1, canvas.foreColor()); });
        guarded([&] { canvas.setCurrentX(1 + s.Margins.left); });
        guarded([&] { canvas.setCurrentY(1 + s.Margins.top); });
    } else {
        guarded([&] { canvas.setCurrentX(s.Margins.left); });
        guarded([&] { canvas.setCurrentY(s.Margins.top); });
    }
    // 8. Text.
    if (s.Rainbow) {
        const ColorValue saved = canvas.foreColor();
        guarded([&] { printRainbow(s.Text, canvas); });
        canvas.setForeColor(saved);
    } else {
        guarded([&] { canvas.print(s.Text, true); });
    }
}

} // namespace sorvel

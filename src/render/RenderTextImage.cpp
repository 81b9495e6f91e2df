#include "render/RenderTextImage.h"

#include "platform/Conversions.h"
#include "platform/Failure.h"
#include "image/ImageFormatTable.h"
#include "render/CanvasSurface.h"
#include "render/MeasuringLabel.h"
#include "render/effects/Effect.h"
#include "render/effects/Frame.h"
#include "render/effects/InkRoom.h"
#include "render/effects/ItalicWidening.h"
#include "render/effects/Outline.h"
#include "render/effects/PictureTiles.h"
#include "render/effects/Rainbow.h"
#include "render/effects/RenderContext.h"
#include "render/effects/Shadow.h"

#include <algorithm>

namespace sorvel {

namespace {

// One object of each effect: they hold no state.
template <class EffectType> const EffectType effectObject{};

// The effects in the order the pipeline asks them: a new effect is one more line here.
const Effect* const programEffects[] = {
    &effectObject<PictureTiles>,   // the background picture, tiled
    &effectObject<ItalicWidening>, // room for slanted glyphs
    &effectObject<Shadow>,         // a grey copy beneath the text
    &effectObject<InkRoom>,        // room for outlines, a shadow of its own look, a fixed width
    &effectObject<Outline>,        // bands around the glyphs
    &effectObject<Frame>,          // an outline on the canvas edges
    &effectObject<Rainbow>,        // the text in many hues
};

using Effects = std::span<const Effect* const>;

void takeSettings(RenderContext& c)
{
    const TextImageSettings& s = c.settings;
    // A size the font system refuses keeps the font of the previous picture.
    carryOnAfterFailure([&] { c.canvas.setFont(canvasFontOf(s)); });
    c.canvas.setForeColor(s.ForeColor);
    c.canvas.setBackColor(s.BackColor);
    c.canvas.setBackAlpha(s.BackAlpha);
    // Lines after the first start at the left margin. A picture sized to its ink starts them
    // where the first starts, and a fixed width holds the ink's room beside the text.
    TextLayoutOptions layout = s.Layout;
    layout.lineStart = s.Margins.left;
    if (sizesToInk(s)) {
        const InkReach reach = inkReachOf(s);
        layout.lineStart += reach.left + (s.Framed ? 1 : 0);
        if (layout.width > 0)
            layout.width = std::max(1, layout.width - reach.horizontal());
    }
    c.canvas.setLayout(layout);
    c.label.setLayout(layout);
}

// The label measures when first asked for a size, unless an effect lays the text out itself.
void measureText(RenderContext& c, Effects effects)
{
    c.label.setCaption(c.settings.Text);
    c.label.setFont(c.canvas.font());
    for (const Effect* effect : effects) {
        // A layout of its own that finds no memory leaves the label's size.
        if (effect->isOn(c.settings))
            carryOnAfterFailure([&] {
                if (const std::optional<QSize> size = effect->measureText(c))
                    c.textSize = size;
            });
    }
}

// The whole canvas in the background colour, the drawing position in its top-left corner.
void clearToBackColor(RenderContext& c)
{
    c.canvas.clear();
}

void sizeToMeasuredText(RenderContext& c)
{
    const PictureMargins& m = c.settings.Margins;
    // Both sides at once, so the area limit never depends on the size the previous text left
    // behind. A text whose layout finds no memory keeps the previous size.
    carryOnAfterFailure(
        [&] { c.canvas.setSize(c.measuredWidth() + m.horizontal(), c.measuredHeight() + m.vertical()); });
}

void drawBackgrounds(RenderContext& c, Effects effects)
{
    for (const Effect* effect : effects) {
        // A background that cannot be drawn (a holder that never held a picture) is left out.
        if (effect->isOn(c.settings))
            carryOnAfterFailure([&] { effect->drawBackground(c); });
    }
}

void drawOnResizedCanvas(RenderContext& c, Effects effects)
{
    for (const Effect* effect : effects) {
        // As with the backgrounds: one that cannot be drawn is left out.
        if (effect->isOn(c.settings))
            carryOnAfterFailure([&] { effect->drawOnResizedCanvas(c); });
    }
}

// Each effect's sides in turn; after each effect that set a side, the effects draw on the
// canvas of its new size.
void resizeForEffects(RenderContext& c, Effects effects)
{
    const PictureMargins& m = c.settings.Margins;
    for (const Effect* effect : effects) {
        if (!effect->isOn(c.settings))
            continue;
        const CanvasGrowth growth = effect->canvasGrowth(c.settings);
        if (growth == CanvasGrowth{})
            continue;
        // Height, then width, each on its own: a side the memory cannot hold keeps its size and
        // the other side still changes.
        if (const std::optional<CanvasSide> height = growth.height) {
            carryOnAfterFailure(
                [&] { c.canvas.setHeight(c.measuredHeight() * height->scale + height->extra + m.vertical()); });
        }
        if (const std::optional<CanvasSide> width = growth.width) {
            carryOnAfterFailure(
                [&] { c.canvas.setWidth(c.measuredWidth() * width->scale + width->extra + m.horizontal()); });
        }
        drawOnResizedCanvas(c, effects);
    }
}

// Where the text starts: at the margins, moved by each effect in turn.
void placeText(RenderContext& c, Effects effects)
{
    const TextImageSettings& s = c.settings;
    QPointF origin(s.Margins.left, s.Margins.top);
    for (const Effect* effect : effects) {
        if (effect->isOn(s))
            origin = effect->textOrigin(c, origin);
    }
    c.textOrigin = origin;
}

void drawBeneathText(RenderContext& c, Effects effects)
{
    for (const Effect* effect : effects) {
        if (!effect->isOn(c.settings))
            continue;
        const ColorValue textColor = c.canvas.foreColor();
        // An effect whose text finds no memory for its layout, or whose canvas finds none for
        // its pixels, is left out; the text is still printed.
        carryOnAfterFailure([&] { effect->drawBeneathText(c); });
        c.canvas.setForeColor(textColor);
    }
}

// The plain print, unless an effect prints the text its own way.
void drawText(RenderContext& c, Effects effects, TextPlacement* placement)
{
    const TextImageSettings& s = c.settings;
    const QPointF origin = c.textOrigin;
    const ColorValue textColor = c.canvas.foreColor();
    // A text whose layout finds no memory is left out; what lies beneath it stays.
    carryOnAfterFailure([&] {
        c.canvas.setCurrentX(origin.x());
        c.canvas.setCurrentY(origin.y());
        if (placement) {
            *placement = {true, c.canvas.font(), c.canvas.layout(),
                          QPointF(roundHalfEven(c.canvas.currentX()), roundHalfEven(c.canvas.currentY()))};
        }
        for (const Effect* effect : effects) {
            if (effect->isOn(s) && effect->drawText(c))
                return;
        }
        c.canvas.print(s.Text, true);
    });
    c.canvas.setForeColor(textColor);
}

} // namespace

BackgroundFormat backgroundFormatOf(const QString& path, NameEndings endings)
{
    const std::optional<PictureKind> reader = backgroundReaderFor(path, endings);
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

void RenderTextImage(const TextImageSettings& settings, const RenderSurfaces& surfaces) noexcept
{
    renderWithEffects(settings, surfaces, programEffects);
}

void renderTextImageWithPlacement(const TextImageSettings& settings, const RenderSurfaces& surfaces,
                                  TextPlacement& placement) noexcept
{
    placement = {};
    renderWithEffects(settings, surfaces, programEffects, &placement);
}

void renderWithEffects(const TextImageSettings& settings, const RenderSurfaces& surfaces, Effects effects,
                       TextPlacement* placement) noexcept
{
    RenderContext context{settings, surfaces.canvas, surfaces.label, surfaces.holder, std::nullopt, {}, {}, {}};
    takeSettings(context);
    measureText(context, effects);
    clearToBackColor(context);
    sizeToMeasuredText(context);
    drawBackgrounds(context, effects);     // picture tiles
    resizeForEffects(context, effects);    // italic widening, shadow, ink room
    placeText(context, effects);           // margins, ink room, frame
    drawBeneathText(context, effects);     // shadow, outlines, frame
    drawText(context, effects, placement); // plain or rainbow
}

} // namespace sorvel

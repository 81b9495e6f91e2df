#pragma once
// Turns the settings into the finished text image on the canvas, as a pipeline of named steps:
// take the settings, measure the text, clear the canvas to the background colour, size it to
// the measured text, then let the effects draw their backgrounds, resize the canvas, place the
// text, draw beneath it, and print it (plain, or in an effect's own way). A step that fails
// is left out and the rest still run; nothing is raised.
// Margins grow every size by the same pixels and move the text by the left and top ones; the
// frame stays on the outer edge.

#include "render/PrintedText.h"
#include "render/TextImageSettings.h"

#include <QFont>

#include <span>

namespace sorvel {

class CanvasSurface;
class Effect;
class MeasuringLabel;
class PictureHolder;

struct RenderSurfaces {
    CanvasSurface& canvas; // the picture itself
    MeasuringLabel& label; // measures the text
    PictureHolder& holder; // keeps the background picture
};

void RenderTextImage(const TextImageSettings& settings, const RenderSurfaces& surfaces) noexcept;
// As above, and tells where and how the text was printed.
void renderTextImageWithPlacement(const TextImageSettings& settings, const RenderSurfaces& surfaces,
                                  TextPlacement& placement) noexcept;

// The pipeline with the given effects in place of the program's own, in the order given.
void renderWithEffects(const TextImageSettings& settings, const RenderSurfaces& surfaces,
                       std::span<const Effect* const> effects, TextPlacement* placement = nullptr) noexcept;

// The canvas font the settings describe: face, size and the four styles.
// Fails with BadArgument when the font system refuses the size.
QFont canvasFontOf(const TextImageSettings& settings);

// The format of a background picture from the last four characters of its path, lowered.
enum class BackgroundFormat { None, Picture, Png };
BackgroundFormat backgroundFormatOf(const QString& path, NameEndings endings = NameEndings::Window);

} // namespace sorvel

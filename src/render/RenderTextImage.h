#pragma once
// Turns the settings into the finished text image on the canvas: measure, clear, size, tile
// the background picture, widen for italic or shadow, print the shadow, draw the frame, print
// the text (plain or rainbow). Every operation is guarded on its own; nothing is raised.
// Margins grow every size by the same pixels and move the text by the left and top ones; the
// frame stays on the outer edge.

#include "render/TextImageSettings.h"

#include <QFont>

namespace sorvel {

class CanvasSurface;
class MeasuringLabel;
class PictureHolder;

struct RenderSurfaces {
    CanvasSurface& canvas; // Picture1
    MeasuringLabel& label; // Label3
    PictureHolder& holder; // Picture5
};

void RenderTextImage(const TextImageSettings& settings, const RenderSurfaces& surfaces) noexcept;

// The canvas font the settings describe: face, size and the four styles.
// Fails with BadArgument when the font system refuses the size.
QFont canvasFontOf(const TextImageSettings& settings);

// The format of a background picture from the last four characters of its path, lowered.
enum class BackgroundFormat { None, Picture, Png };
BackgroundFormat backgroundFormatOf(const QString& path);

} // namespace sorvel

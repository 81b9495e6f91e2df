#pragma once
// What every step of one rendering works with: the settings, the surfaces, and the size of the
// measured text.

#include "render/CoverageMask.h"
#include "render/TextImageSettings.h"

#include <QImage>
#include <QPointF>
#include <QSize>

#include <optional>
#include <vector>

namespace sorvel {

class CanvasSurface;
class MeasuringLabel;
class PictureHolder;

struct RenderContext {
    const TextImageSettings& settings;
    CanvasSurface& canvas;
    MeasuringLabel& label;
    PictureHolder& holder;
    // The text's size as an effect that lays the text out itself measured it; empty: the label's.
    std::optional<QSize> textSize;
    // Where the text is printed, once the effects have placed it (before anything is drawn
    // beneath it).
    QPointF textOrigin;
    // The text drawn alone (see CanvasSurface::inkOf) and the outer shape of each outline
    // around it (without outlines, its bare silhouette), made by the first effect that needs
    // them.
    QImage textInk;
    std::vector<CoverageMask> inkShapes;

    // The measured text's width as the canvas takes it: never below two pixels, so that an
    // empty text still leaves a frame its columns and copy and save a picture.
    int measuredWidth() const;
    int measuredHeight() const;
};

} // namespace sorvel

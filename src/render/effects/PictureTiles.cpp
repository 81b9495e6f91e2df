#include "render/effects/PictureTiles.h"

#include "platform/Failure.h"
#include "render/CanvasSurface.h"
#include "render/PictureHolder.h"
#include "render/ReadPngIntoHolder.h"
#include "render/RenderTextImage.h"
#include "render/effects/InkRoom.h"
#include "render/effects/RenderContext.h"

namespace sorvel {

namespace {

// Makes the picture at path the holder's picture. A BMP or JPEG that cannot be read fails with
// UnreadableFile and leaves the holder's picture as it was; a PNG that cannot be read leaves
// the holder's cleared surface as its picture.
void loadIntoHolder(const QString& path, BackgroundFormat format, PictureHolder& holder)
{
    if (format == BackgroundFormat::Picture) {
        holder.loadPicture(path);
        return;
    }
    holder.clearPicture();
    readPngIntoHolder(path, holder);
    holder.takeSurfaceAsPicture();
}

// Tiles the holder's picture over the canvas at its present size. Fails with BadArgument while
// the holder has no picture.
void tileHolderPicture(RenderContext& context)
{
    // A holder without area would never advance the tiling.
    if (context.holder.scaleWidth() <= 0 || context.holder.scaleHeight() <= 0)
        return;
    context.canvas.drawTiled(context.holder.picture(), context.canvas.scaleWidth(), context.canvas.scaleHeight());
}

// Any layout beyond the window's own: a width, wrapping, alignment or margins, or room for ink.
bool hasOwnLayout(const TextImageSettings& settings)
{
    return settings.Layout != TextLayoutOptions{} || settings.Margins != PictureMargins{} || sizesToInk(settings);
}

} // namespace

bool PictureTiles::isOn(const TextImageSettings& settings) const noexcept
{
    return !settings.backgroundPicture.isEmpty();
}

void PictureTiles::drawBackground(RenderContext& context) const
{
    const QString& path = context.settings.backgroundPicture;
    const BackgroundFormat format = backgroundFormatOf(path, context.settings.pictureEndings);
    if (format == BackgroundFormat::None)
        return;
    // A missing or damaged picture still leaves a background: the holder's last picture is
    // tiled in its place.
    carryOnAfterFailure([&] { loadIntoHolder(path, format, context.holder); });
    tileHolderPicture(context);
}

void PictureTiles::drawOnResizedCanvas(RenderContext& context) const
{
    // With a layout of its own the picture covers the widened canvas too, margins included;
    // the window's layout keeps the strips that widening adds in the background colour. The
    // tiles are whatever the holder holds, also after a path whose ending loads no picture.
    if (hasOwnLayout(context.settings))
        tileHolderPicture(context);
}

} // namespace sorvel

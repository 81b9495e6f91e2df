// Renders arbitrary text with an arbitrary size box text and effect switches, as the window
// does on every keystroke, and checks the canvas limits and that the picture depends on the
// settings only, not on what the surfaces showed before.

#include "FuzzSupport.h"
#include "TextCase.h"

#include "render/CanvasSurface.h"
#include "platform/Conversions.h"
#include "text/FontSystem.h"
#include "render/MeasuringLabel.h"
#include "render/PictureHolder.h"
#include "platform/Failure.h"
#include "render/PaletteColor.h"
#include "render/RenderTextImage.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>

using namespace sorvel;
using namespace sorvel::fuzzing;

namespace {

// Bounds that keep one input well under 2 ms under the sanitizers. The fuzz build's font
// system takes up to 48 points and its canvas up to 2047 pixels a side and 28 Ki pixels (see
// SORVEL_SMALL_LIMITS); shaping costs by the unit and drawing by the glyph pixel. So: at most
// 500 units, and no more glyph area than 500 units at 24 pixels. Empty lines and small glyphs
// still reach every canvas limit within these bounds.
constexpr qsizetype maxFuzzTextUnits = 500;
constexpr double maxFuzzGlyphArea = 500.0 * 24 * 24;

// The settings the window would hand the renderer: the size comes from the size box's text
// the way the window sets it, and a text the font system refuses leaves the start-up size.
std::optional<TextImageSettings> settingsOf(const TextCase& input)
{
    TextImageSettings s;
    s.Text = input.text;
    s.FontName = input.serif ? QStringLiteral("MS Serif") : defaultFontName;
    QFont font = makeFont(s.FontName, designFontPoints);
    carryOnAfterFailure([&] { setFontPointSize(font, textToNumber(input.sizeText)); });
    s.FontSize = static_cast<float>(fontPointSize(font));
    const double pixels = std::max(1, font.pixelSize());
    if (static_cast<double>(s.Text.size()) * pixels * pixels > maxFuzzGlyphArea)
        return std::nullopt;
    s.SizeText = input.sizeText;
    s.FontBold = input.bold;
    s.FontItalic = input.italic;
    s.FontUnderline = input.underline;
    s.FontStrikethrough = input.strikeOut;
    s.ForeColor = PaletteColor(input.foreIndex);
    s.BackColor = PaletteColor(input.backIndex);
    s.Shadow = input.shadow;
    s.Rainbow = input.rainbow;
    s.Framed = input.frame;
    return s;
}

struct Surfaces {
    CanvasSurface canvas;
    MeasuringLabel label;
    PictureHolder holder;
    RenderSurfaces ref() { return {canvas, label, holder}; }
};

// What the window showed before: the same effects and face on a canvas as large as a canvas
// may be, in the largest font (few lines reach the limits), in colours no input's picture
// shares by chance. Rendered once for each combination of effects and kept: a copy of the
// surfaces shares their pixels until the next rendering draws.
const Surfaces& surfacesAfterBefore(const TextImageSettings& settings)
{
    static std::map<std::uint16_t, Surfaces> states;
    const auto bit = [](bool on, int n) { return static_cast<std::uint16_t>(on ? 1u << n : 0u); };
    const std::uint16_t key = bit(settings.FontBold, 0) | bit(settings.FontItalic, 1) | bit(settings.FontUnderline, 2) |
                              bit(settings.FontStrikethrough, 3) | bit(settings.Shadow, 4) | bit(settings.Rainbow, 5) |
                              bit(settings.Framed, 6) | bit(settings.FontName != defaultFontName, 7);
    const auto found = states.find(key);
    if (found != states.end())
        return found->second;
    TextImageSettings before = settings;
    before.FontSize = static_cast<float>(maxFontPoints);
    before.SizeText = QStringLiteral("48");
    before.ForeColor = PaletteColor(12);
    before.BackColor = PaletteColor(9);
    before.Text = QStringLiteral("|") + QStringLiteral("\r\n").repeated(CanvasSurface::maxSide / 50 + 1) +
                  QString(CanvasSurface::maxSide / 30 + 1, u'W');
    Surfaces& state = states[key];
    RenderTextImage(before, state.ref());
    return state;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    startOffscreenApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const TextCase input = decodeTextCase(data, size);
    if (input.text.size() > maxFuzzTextUnits)
        return -1;
    const std::optional<TextImageSettings> settings = settingsOf(input);
    if (!settings)
        return -1;

    size_t picture = 0;
    {
        // New surfaces, as the window has them at start-up (copies of one set made once).
        static const Surfaces pristine;
        Surfaces fresh = pristine;
        RenderTextImage(*settings, fresh.ref());
        requireCanvasWithinLimits(fresh.canvas);
        picture = pixelHash(fresh.canvas.image());
    }

    // The window renders on the same surfaces after whatever it showed before; the picture must
    // not depend on it.
    Surfaces used = surfacesAfterBefore(*settings);
    RenderTextImage(*settings, used.ref());
    requireCanvasWithinLimits(used.canvas);
    require(pixelHash(used.canvas.image()) == picture,
            "the same settings render the same picture whatever came before");
    return 0;
}

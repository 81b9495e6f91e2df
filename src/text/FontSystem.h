#pragma once
// The font system: point sizes become whole pixels at 96 dpi on every machine, sizes outside
// (0, 2160] points are refused, and Windows face names are resolved to installed faces.

#include <QFont>
#include <QString>

namespace sorvel {

inline const QString defaultFontName = QStringLiteral("ＭＳ Ｐゴシック");
#ifndef SORVEL_SMALL_LIMITS
constexpr double maxFontPoints = 2160.0;
#else
constexpr double maxFontPoints = 48.0; // the fuzz build: 64 pixels, glyphs drawn from the cache
#endif
constexpr double designFontPoints = 14.25; // 19 pixels

// Teaches Qt which installed faces stand for the Windows names the program uses
// ("ＭＳ Ｐゴシック" -> a Japanese proportional gothic, "MS Serif" -> a serif face).
// Safe to call more than once; every function below calls it.
void installFontSubstitutions();

// A font of the given face and size with the drawing options that keep images identical on
// every machine (no LCD antialiasing, full hinting). Fails with BadArgument when the size is refused.
QFont makeFont(const QString& family, double points);

// Sets the size the way the font system realises it: the nearest whole pixel at 96 dpi
// (at least one pixel). Fails with BadArgument, leaving the font unchanged, for sizes that are not
// finite, zero or less, or above 2160 points.
void setFontPointSize(QFont& font, double points);

// The size the font system holds, in points (19 px is 14.25 points).
double fontPointSize(const QFont& font);

} // namespace sorvel

#include "text/FontSystem.h"

#include "platform/Conversions.h"
#include "platform/Failure.h"

#include <QStringList>

#include <cmath>
#include <mutex>

namespace sorvel {

namespace {

constexpr double pixelsPerPoint = 96.0 / 72.0;

} // namespace

void installFontSubstitutions()
{
    static std::once_flag once;
    std::call_once(once, [] {
        // Japanese proportional gothics first, then any Japanese gothic.
        const QStringList gothic = {QStringLiteral("IPAPGothic"),         QStringLiteral("IPAexGothic"),
                                    QStringLiteral("VL PGothic"),         QStringLiteral("TakaoPGothic"),
                                    QStringLiteral("Noto Sans CJK JP"),   QStringLiteral("IPAGothic"),
                                    QStringLiteral("Droid Sans Japanese")};
        QFont::insertSubstitutions(defaultFontName, gothic);
        QFont::insertSubstitutions(QStringLiteral("MS PGothic"), gothic);
        QFont::insertSubstitutions(QStringLiteral("MS Serif"),
                                   {QStringLiteral("DejaVu Serif"), QStringLiteral("Liberation Serif"),
                                    QStringLiteral("Noto Serif"), QStringLiteral("FreeSerif")});
    });
}

void setFontPointSize(QFont& font, double points)
{
    if (!std::isfinite(points) || points <= 0.0 || points > maxFontPoints)
        fail(FailureKind::BadArgument);
    const double pixels = roundHalfEven(points * pixelsPerPoint);
    font.setPixelSize(std::max(1, static_cast<int>(pixels)));
}

double fontPointSize(const QFont& font)
{
    if (font.pixelSize() > 0)
        return font.pixelSize() / pixelsPerPoint;
    return font.pointSizeF();
}

QFont makeFont(const QString& family, double points)
{
    installFontSubstitutions();
    QFont font(family);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoSubpixelAntialias));
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setKerning(true);
    setFontPointSize(font, points);
    return font;
}

} // namespace sorvel

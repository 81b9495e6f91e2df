#include "platform/Conversions.h"

#include "platform/Failure.h"

#include <QLocale>
#include <QString>

#include <cmath>
#include <limits>

namespace sorvel {

double roundHalfEven(double value) noexcept
{
    if (!std::isfinite(value))
        return value;
    const double floor = std::floor(value);
    const double diff = value - floor;
    if (diff < 0.5)
        return floor;
    if (diff > 0.5)
        return floor + 1.0;
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

namespace {

template <class Int> Int checkedRound(double value)
{
    const double r = roundHalfEven(value);
    if (!std::isfinite(r) || r < static_cast<double>(std::numeric_limits<Int>::min()) ||
        r > static_cast<double>(std::numeric_limits<Int>::max()))
        fail(FailureKind::OutOfRange);
    return static_cast<Int>(r);
}

bool isNumberCharacter(QChar c, QChar decimal)
{
    return c.isDigit() || c == u'+' || c == u'-' || c == u'.' || c == decimal || c == u'e' || c == u'E';
}

} // namespace

std::int16_t toInt16(double value)
{
    return checkedRound<std::int16_t>(value);
}
std::int32_t toInt32(double value)
{
    return checkedRound<std::int32_t>(value);
}
std::uint8_t toByte(double value)
{
    return checkedRound<std::uint8_t>(value);
}

double textToNumber(const QString& text)
{
    // Full-width digits and signs typed through a Japanese input method count as numbers.
    const QString trimmed = text.normalized(QString::NormalizationForm_KC).trimmed();
    const QLocale locale;
    const QChar decimal = locale.decimalPoint().size() == 1 ? locale.decimalPoint().at(0) : u'.';
    if (trimmed.isEmpty())
        fail(FailureKind::NotANumber);
    for (QChar c : trimmed) {
        if (!isNumberCharacter(c, decimal))
            fail(FailureKind::NotANumber);
    }
    bool ok = false;
    double value = locale.toDouble(trimmed, &ok);
    if (!ok)
        value = QLocale::c().toDouble(trimmed, &ok);
    if (!ok) {
        // A well-formed number that does not fit a double is an overflow, not a mismatch.
        bool wellFormed = false;
        const double huge = QString(trimmed).replace(decimal, u'.').toDouble(&wellFormed);
        if (std::isinf(huge))
            fail(FailureKind::OutOfRange);
        fail(FailureKind::NotANumber);
    }
    if (!std::isfinite(value))
        fail(FailureKind::OutOfRange);
    return value;
}

std::int16_t textToInt16(const QString& text)
{
    return toInt16(textToNumber(text));
}

} // namespace sorvel

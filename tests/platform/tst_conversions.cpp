// Run-time conversions: rounding, overflow and the locale-aware text-to-number rule.
#include "platform/Conversions.h"
#include "platform/Failure.h"

#include <QtTest>

#include <limits>

using namespace sorvel;

namespace {

// The kind of failure a step ends with, none when it completes.
std::optional<FailureKind> failureOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const Failure& e) {
        return e.kind();
    }
    return std::nullopt;
}

constexpr std::optional<FailureKind> none, outOfRange = FailureKind::OutOfRange, notANumber = FailureKind::NotANumber;

} // namespace

class TestConversions : public QObject {
    Q_OBJECT
private slots:
    void roundsHalvesToEvenAndFailsOutsideTheType()
    {
        const std::pair<double, double> rounded[] = {{0.5, 0}, {1.5, 2}, {-2.5, -2}, {2.51, 3}};
        for (const auto& [value, expected] : rounded)
            QCOMPARE(roundHalfEven(value), expected);
        QCOMPARE(toInt16(-32768.5), std::int16_t(-32768));
        QCOMPARE(toByte(255.4), std::uint8_t(255));
        const double nan = std::numeric_limits<double>::quiet_NaN();
        for (const auto& step : std::initializer_list<std::function<void()>>{
                 [] { toInt16(32767.5); }, [nan] { toInt16(nan); }, [] { toInt32(3e9); }, [] { toByte(-1); }})
            QCOMPARE(failureOf(step), outOfRange);
    }

    void textToNumber()
    {
        const std::tuple<QString, double, std::optional<FailureKind>> cases[] = {
            {"  75 ", 75, none},    {"12.5", 12.5, none},    {u"１４"_qs, 14, none}, {"", 0, notANumber},
            {"abc", 0, notANumber}, {"12pt", 0, notANumber}, {"inf", 0, notANumber}, {"1e400", 0, outOfRange}};
        for (const auto& [text, expected, error] : cases) {
            double value = 0;
            QCOMPARE(failureOf([&] { value = sorvel::textToNumber(text); }), error);
            QCOMPARE(value, expected);
        }
    }
};

QTEST_GUILESS_MAIN(TestConversions)
#include "tst_conversions.moc"

// Run-time conversions: rounding, overflow and the locale-aware text-to-number rule.
#include "platform/Conversions.h"
#include "platform/RunTimeError.h"

#include <QtTest>

#include <limits>

using namespace sorvel;

namespace {

// The error a step raises, 0 when it raises none.
int errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const RunTimeError& e) {
        return e.code();
    }
    return 0;
}

} // namespace

class TestConversions : public QObject {
    Q_OBJECT
private slots:
    void roundsHalvesToEvenAndRaisesSixOutsideTheType()
    {
        const std::pair<double, double> rounded[] = {{0.5, 0}, {1.5, 2}, {-2.5, -2}, {2.51, 3}};
        for (const auto& [value, expected] : rounded)
            QCOMPARE(roundHalfEven(value), expected);
        QCOMPARE(toInt16(-32768.5), std::int16_t(-32768));
        QCOMPARE(toByte(255.4), std::uint8_t(255));
        const double nan = std::numeric_limits<double>::quiet_NaN();
        for (const auto& step : std::initializer_list<std::function<void()>>{
                 [] { toInt16(32767.5); }, [nan] { toInt16(nan); }, [] { toInt32(3e9); }, [] { toByte(-1); }})
            QCOMPARE(errorOf(step), 6);
    }

    void textToNumber()
    {
        const std::tuple<QString, double, int> cases[] = {// text, value, error
                                                          {"  75 ", 75, 0}, {"12.5", 12.5, 0}, {u"１４"_qs, 14, 0},
                                                          {"", 0, 13},      {"abc", 0, 13},    {"12pt", 0, 13},
                                                          {"inf", 0, 13},   {"1e400", 0, 6}};
        for (const auto& [text, expected, error] : cases) {
            double value = 0;
            QCOMPARE(errorOf([&] { value = sorvel::textToNumber(text); }), error);
            QCOMPARE(value, expected);
        }
    }
};

QTEST_GUILESS_MAIN(TestConversions)
#include "tst_conversions.moc"

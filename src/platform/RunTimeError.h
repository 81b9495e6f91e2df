#pragma once
// Numbered run-time errors and the "absorbing" way of running a step.
//
// A failing operation raises RunTimeError with its number. Procedures that absorb errors run
// each statement through absorb(): a failing statement is skipped and the next one runs.
// Nothing else in the program catches errors silently.

#include <exception>

namespace sorvel {

enum class ErrorNumber : int {
    InvalidCall = 5, // invalid procedure call or argument
    Overflow = 6,
    SubscriptOutOfRange = 9,
    DivisionByZero = 11,
    TypeMismatch = 13,
};

class RunTimeError : public std::exception {
public:
    explicit RunTimeError(ErrorNumber number) noexcept : m_number(number) { }
    ErrorNumber number() const noexcept { return m_number; }
    int code() const noexcept { return static_cast<int>(m_number); }
    const char* what() const noexcept override;

private:
    ErrorNumber m_number;
};

[[noreturn]] void raise(ErrorNumber number);

// Runs one step; a RunTimeError it raises is swallowed. Returns whether the step completed.
template <class Step> bool absorb(Step&& step) noexcept
{
    try {
        step();
        return true;
    } catch (const RunTimeError&) {
        return false;
    }
}

} // namespace sorvel

#include "platform/RunTimeError.h"

namespace sorvel {

const char* RunTimeError::what() const noexcept
{
    switch (m_number) {
    case ErrorNumber::InvalidCall:
        return "run-time error 5: invalid procedure call or argument";
    case ErrorNumber::Overflow:
        return "run-time error 6: overflow";
    case ErrorNumber::SubscriptOutOfRange:
        return "run-time error 9: subscript out of range";
    case ErrorNumber::DivisionByZero:
        return "run-time error 11: division by zero";
    case ErrorNumber::TypeMismatch:
        return "run-time error 13: type mismatch";
    }
    return "run-time error";
}

void raise(ErrorNumber number)
{
    throw RunTimeError(number);
}

} // namespace sorvel

#include "platform/Failure.h"

namespace sorvel {

const char* Failure::what() const noexcept
{
    switch (m_kind) {
    case FailureKind::BadArgument:
        return "bad argument";
    case FailureKind::OutOfRange:
        return "value out of range";
    case FailureKind::NotANumber:
        return "not a number";
    case FailureKind::OutOfMemory:
        return "out of memory";
    case FailureKind::UnreadableFile:
        return "file cannot be read";
    }
    return "failure";
}

void fail(FailureKind kind)
{
    throw Failure(kind);
}

} // namespace sorvel

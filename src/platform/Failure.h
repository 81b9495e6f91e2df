#pragma once
// Failures by kind, and the one way of carrying on after a failing step.
//
// An operation that cannot do what it was asked throws Failure with the kind that says why.
// Callers that can act on the reason catch it where they act; the window and the renderer,
// which must keep drawing whatever a user types or chooses, run the steps they may lose through
// carryOnAfterFailure().

#include <exception>
#include <new>

namespace sorvel {

enum class FailureKind {
    BadArgument,    // a value the operation cannot take (a size the fonts refuse, an unknown name)
    OutOfRange,     // a number or an index beyond what its target holds
    NotANumber,     // a text that does not read as a number
    OutOfMemory,    // the memory for a picture or canvas was not there
    UnreadableFile, // a file that is missing, unreadable, damaged or too large
};

class Failure : public std::exception {
public:
    explicit Failure(FailureKind kind) noexcept : m_kind(kind) { }
    FailureKind kind() const noexcept { return m_kind; }
    const char* what() const noexcept override;

private:
    FailureKind m_kind;
};

[[noreturn]] void fail(FailureKind kind);

// Runs one step of a sequence that goes on whatever happens to the step: a Failure or an
// exhausted allocation ends this step only, and the caller continues with the next. The window
// and the renderer use it where losing one step (a font size the system refuses, a damaged
// picture, a size it cannot take, memory for a huge canvas) must still leave a usable picture
// and window. Returns whether the step completed.
template <class Step> bool carryOnAfterFailure(Step&& step) noexcept
{
    try {
        step();
        return true;
    } catch (const Failure&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

} // namespace sorvel

#pragma once
// What the main window takes from outside, so that tests can stand in for it. main() uses
// realDependencies(); a test fills in its own.

#include "platform/FontList.h"

#include <functional>
#include <memory>

namespace sorvel {

struct SorvelMainDependencies {
    // The installed screen font names, read once while the window starts (none given: the
    // installed list).
    std::unique_ptr<FontList> fontList;
    // Runs first when the window is closed, before the program ends: the one place to hand
    // over whatever must outlive the program (the clipboard image). May be empty.
    std::function<void()> beforeProgramEnds;
    // Ends the program; the real one leaves the event loop.
    std::function<void()> endProgram;
};

SorvelMainDependencies realDependencies();

} // namespace sorvel

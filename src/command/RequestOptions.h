#pragma once
// The options of one picture, by their long names: the command line's and a batch job's keys
// alike. Each value is checked here, as far as it needs neither the font system nor a file.

#include "command/CommandLine.h"

#include <QString>

#include <optional>

namespace sorvel::render_command {

enum class OptionKind {
    Flag,  // on or off: --bold, "bold": true
    Value, // takes a value: --size 14, "size": 14
};

// The kind of the picture option name (a long name without dashes); no value for a name that is
// not one ("text", "batch" and "jobs" are not: they are no option of a picture).
std::optional<OptionKind> requestOptionKind(const QString& name);

// Sets a flag option.
void setRequestFlag(RenderRequest& request, const QString& name, bool on);

// Sets a value option from its text. Raises CommandError (UsageError) for a value the option
// does not take, naming the option as --name.
void setRequestValue(RenderRequest& request, const QString& name, const QString& value);

// What only the options together can tell: raises CommandError (UsageError) when the request
// has no output, or a transparent background with a format that has no alpha channel.
void checkRequest(const RenderRequest& request);

} // namespace sorvel::render_command

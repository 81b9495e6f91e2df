#pragma once
// Every option of sorvel-render, one row each: its names, its help line, its key in a batch
// job and how its value changes a request. The command line's parser, --help (and with it the
// manual page), a batch job's keys and the fuzz seeds are made from these rows; the README and
// the fuzz dictionary are checked against them (tests/command/tst_option_table).

#include "command/CommandLine.h"

#include <QString>

#include <span>

namespace sorvel::render_command {

enum class OptionKind {
    Flag,   // on or off: --bold, "bold": true
    Value,  // takes a value: --size 14, "size": 14
    Values, // takes a value, given again for more: --outline 2 --outline 4, "outline": ["2", "4"]
};

struct CommandOption {
    using FlagSetter = void (*)(RenderRequest& request, bool on);
    // Raises CommandError (UsageError) for a value the option does not take.
    using ValueSetter = void (*)(RenderRequest& request, const QString& value);
    // Every value given, in order, in place of earlier ones; raises CommandError as above.
    using ValuesSetter = void (*)(RenderRequest& request, const QStringList& values);

    const char* name;      // the long name, without dashes
    const char* shortName; // one letter, or nullptr
    const char* valueName; // the value's name in the help; nullptr for a flag
    const char* help;      // one line of --help
    // The key of a batch job; nullptr for an option of the whole run (--help, --batch, ...),
    // which the command line's parser acts on itself.
    const char* jsonKey;
    OptionKind kind;
    FlagSetter setFlag;     // a flag of a picture (or a value's true or false in a batch job); else nullptr
    ValueSetter setValue;   // a value of a picture; else nullptr
    ValuesSetter setValues; // values of a picture; else nullptr

    QString longName() const { return QString::fromLatin1(name); }
    bool isPictureOption() const { return jsonKey != nullptr; }
};

// Every row, in the order --help lists them: the options of the run, then those of a picture.
std::span<const CommandOption> commandOptions();

// The picture option whose batch key is key; nullptr for any other key ("text" is none: it is
// the text argument, not an option).
const CommandOption* optionForJsonKey(const QString& key);

// What only the options together can tell: raises CommandError (UsageError) when the request
// has no output, a transparent background with a format that has no alpha channel, or a
// column height for text that is not vertical.
void checkRequest(const RenderRequest& request);

} // namespace sorvel::render_command

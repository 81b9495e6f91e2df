#pragma once
// One line of a batch file: a JSON object whose keys are the long option names of a picture
// and "text", on top of the command line's options.

#include "command/CommandLine.h"

#include <QByteArray>

namespace sorvel::render_command {

// The request of one job line: defaults changed by the line's keys. Raises CommandError
// (UsageError) for a line that is no JSON object, an unknown key, a value of the wrong type or
// one the option does not take, a job without an output, or an output a batch cannot have.
RenderRequest jobRequest(const QByteArray& line, const RenderRequest& defaults);

} // namespace sorvel::render_command

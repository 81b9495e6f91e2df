#pragma once
// A batch: every job line of a JSON Lines file rendered, several at a time, with one result
// line per job on standard output in input order and each failure also as FILE:LINE: reason
// on standard error. Job lines are read as they come and each is at most maxBatchLineBytes
// long (a longer one fails its own job). When the results cannot be written (their reader went
// away), no further job begins, the jobs being drawn finish their files, and the batch ends.

#include "command/CommandLine.h"

#include <cstdio>

namespace sorvel::render_command {

struct BatchOptions {
    QString file;           // "-": standard input
    int jobs = 0;           // jobs rendered at a time; 0: one per core
    RenderRequest defaults; // the command line's options
};

// Needs the application object. Gives the exit status: Success when every job was written,
// Failed when any failed or the results could not be written, UsageError when the file cannot
// be read at all. errors receives the
// failure lines.
int runBatch(const BatchOptions& options, std::FILE* results, std::FILE* errors);

} // namespace sorvel::render_command

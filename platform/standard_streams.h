// Descriptors 0, 1 and 2 are standard input, output and error whatever is
// behind them: a program started with one of them closed (2>&-, as some
// launchers and cron do) would hand that number to the next file it opens,
// and whatever is written to standard error would land in that file.
#pragma once

namespace helicordia {

// Opens /dev/null on each of descriptors 0, 1 and 2 that is closed. Called
// first thing in main, before any file is opened. False when one could not
// be opened (the program should then end without opening files).
bool OpenMissingStandardStreams();

} // namespace helicordia

#pragma once
// One kova run: options, inputs, the two toolkit files, the record pass, the orbit pass.
#include <iosfwd>

namespace kova {

// Runs kova on the process arguments, writing the banner and listing to `out` and every
// diagnostic and error to `err`. Returns the exit status: 0 after a complete run, -1 or
// -101 after an error stop (the message has been written to `err` by then), -1 when `out`
// failed or an unexpected exception ended the run ("\nProgram error: ...").
int runKova(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace kova

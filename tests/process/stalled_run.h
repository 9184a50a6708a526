#pragma once
// A program run that stalls on an output the test holds: the output is a named pipe in the
// work directory that the test opens but does not read, so once the pipe and the program's
// buffers are full the run waits, far from the end of a long packet file. The packet file is
// cut short then; the pipe is drained afterwards so that the run can go on and end.
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/process_runner.h"

namespace kova::test {

struct StalledRunOutcome {
    ProcessResult result;
    bool cutWhileWriting = false;  // the run had written into the pipe when the file was cut
};

// Runs `program` with `arguments` in `workDir`, where `pipeName` becomes the named pipe; cuts
// `packetFile` (in `workDir`) to three quarters of its size, plus 60 bytes, once the run writes.
StalledRunOutcome runCuttingTheInputWhileStalled(const std::string& program, const std::vector<std::string>& arguments,
                                                 const std::filesystem::path& workDir, const std::string& pipeName,
                                                 const std::string& packetFile);

}  // namespace kova::test

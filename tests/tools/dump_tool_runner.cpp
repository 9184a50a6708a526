#include "tests/tools/dump_tool_runner.h"

#include <filesystem>
#include <sstream>

#include "tests/tools/toolkit_file_bytes.h"

namespace kova::test {

DumpToolResult runDumpToolInProcess(DumpToolEntry tool, const char* programName,
                                    const std::vector<std::string>& arguments,
                                    const std::string& dumpFile) {
    std::error_code ignored;
    std::filesystem::remove(dumpFile, ignored);
    std::vector<const char*> argv{programName};
    for (const std::string& argument : arguments) argv.push_back(argument.c_str());
    std::ostringstream err;
    DumpToolResult result;
    result.status = tool(static_cast<int>(argv.size()), argv.data(), err);
    result.errorText = err.str();
    result.dumpExists = fileExists(dumpFile);
    result.dumpText = readWholeFile(dumpFile);
    return result;
}

std::string recordSection(const std::string& dumpText) {
    static const std::string kTitles[] = {"\nJulian Date, Position, Velocity QaFlag\n",
                                          "\nJulian-Date  Angle Velocities\n"};
    for (const std::string& title : kTitles) {
        const std::size_t start = dumpText.find(title);
        if (start == std::string::npos) continue;
        const std::size_t begin = start + title.size();
        const std::size_t end = dumpText.find("\ntellg() after ephemeris records", begin);
        return dumpText.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
    }
    return "(no record section)";
}

}  // namespace kova::test

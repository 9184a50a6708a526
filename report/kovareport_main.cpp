// kovareport: the quality report of a pass (see --help).
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "report/report_run.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    try {
        const int status = kova::report::runReport(arguments, std::cout, std::cerr);
        std::cout.flush();
        return std::cout.fail() ? kova::report::kExitBadInput : status;
    } catch (const std::exception& failure) {
        std::cerr << "kovareport: " << failure.what() << std::endl;
        return kova::report::kExitBadInput;
    }
}

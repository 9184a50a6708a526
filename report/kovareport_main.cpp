// kovareport: the quality report of a pass (see --help).
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "report/report_run.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    try {
        return kova::report::runReport(arguments, std::cout, std::cerr);
    } catch (const std::exception& failure) {
        std::cerr << "kovareport: " << failure.what() << std::endl;
        return kova::report::kExitBadInput;
    }
}

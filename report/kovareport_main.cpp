// kovareport: the quality report of a pass (see --help).
#include <iostream>

#include "core/program_shell.h"
#include "report/report_run.h"

int main(int argc, char** argv) {
    kova::prepareProgramProcess();
    return kova::report::runReport(kova::programArguments(argc, argv), std::cout, std::cerr);
}

#include <iostream>

#include "core/program_shell.h"
#include "export/export_run.h"

int main(int argc, char** argv) {
    kova::prepareProgramProcess();
    return kova::runExport(argc, argv, std::cout, std::cerr);
}

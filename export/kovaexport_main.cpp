#include <cstdlib>
#include <iostream>

#include "export/export_run.h"

int main(int argc, char** argv) {
    const int status = kova::runExport(argc, argv, std::cout, std::cerr);
    std::cout.flush();
    std::exit(status);
}

#include <cstdlib>
#include <iostream>

#include "run/processing_run.h"

int main(int argc, char** argv) {
    const int status = kova::runKova(argc, argv, std::cout, std::cerr);
    std::cout.flush();
    std::exit(status);
}

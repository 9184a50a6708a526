// kovagen: writes a synthetic packet file and the matching element set (see --help).
#include <iostream>

#include "core/program_shell.h"
#include "generator/kovagen_options.h"

int main(int argc, char** argv) {
    kova::prepareProgramProcess();
    return kova::generator::runKovagen(kova::programArguments(argc, argv), std::cout, std::cerr);
}

// kovagen: writes a synthetic packet file and the matching element set (see --help).
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "generator/kovagen_options.h"

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    try {
        return kova::generator::runKovagen(arguments, std::cout, std::cerr);
    } catch (const std::exception& failure) {
        std::cerr << "kovagen: " << failure.what() << std::endl;
        return 1;
    }
}

// ephdiag: writes a text dump of an ephemeris file into the file's name with ".txt" appended.
#include <iostream>

#include "tools/ephemeris_dump.h"

int main(int argc, char** argv) { return kova::runEphdiag(argc, argv, std::cerr); }

// attdiag: writes a text dump of an attitude file into the file's name with ".txt" appended.
#include <iostream>

#include "tools/attitude_dump.h"

int main(int argc, char** argv) { return kova::runAttdiag(argc, argv, std::cerr); }

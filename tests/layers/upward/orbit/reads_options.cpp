// An orbit library that reads the run's options.
#include "packets/nav_record.h"
#include "run/options.h"

// A packet library that stops the run and includes time/ without linking it.
#include "core/run_stop.h"
#include "time/time_scales.h"

#pragma once
// The three header blocks of the toolkit files.
#include "toolkit/attitude_header.h"
#include "toolkit/ephemeris_header.h"
#include "toolkit/toolkit_header.h"

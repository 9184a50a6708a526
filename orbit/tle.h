#pragma once
// Element sets: the record, its text lines and the norad file they are read from.
#include "orbit/norad_file.h"
#include "orbit/tle_format.h"
#include "orbit/tle_parser.h"
#include "orbit/tle_record.h"

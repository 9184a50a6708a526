#pragma once
// The record blocks of the toolkit files.
#include "toolkit/attitude_record.h"
#include "toolkit/ephemeris_record.h"
#include "toolkit/orbit_metadata_record.h"

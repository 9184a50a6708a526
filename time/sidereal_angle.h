#pragma once
// The Greenwich apparent sidereal angle: the Earth's rotation angle used to turn the right
// ascension of a node into a geographic longitude.

namespace kova {

// Greenwich apparent sidereal angle in radians, in [0, 2pi), for a UT Julian date.
double gast(double utJulianDate);

}  // namespace kova

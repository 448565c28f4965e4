// The clock the Sun keeps at a place: apparent solar time (真太陽時), from
// the mean solar time of the longitude and the equation of time.
#pragma once

#include <cstdint>

namespace qv {

// Apparent minus mean solar time in minutes at a UTC moment given in seconds
// since 1970-01-01 00:00 UTC: about −14 in mid-February, +16 in early November.
double EquationOfTimeMinutes(int64_t utcSeconds);

}  // namespace qv

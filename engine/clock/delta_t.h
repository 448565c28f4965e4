// ΔT, the difference TT − UT between the uniform time of the ephemerides and
// the time of the Earth's turning: the historical record, the observations,
// and a forecast beyond them (sources in delta_t.cpp).
#pragma once

namespace qv {

// TT − UT in seconds for a decimal year.
double DeltaTSeconds(double year);

}  // namespace qv

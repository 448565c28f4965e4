// ΔT, the difference TT − UT between the uniform time of the ephemerides and
// the time of the Earth's turning, from the historical record and a model
// beyond it.
#pragma once

namespace qv {

// TT − UT in seconds for a decimal year.
double DeltaTSeconds(double year);

}  // namespace qv

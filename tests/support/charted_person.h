// A person charted from a birth moment with the built solar-term table and default options.
#pragma once

#include <memory>

#include "engine/chart/chart_compute.h"
#include "reference_data.h"

namespace qv::test {

// Null when the table is missing or the moment cannot be charted.
inline std::unique_ptr<ChartRecord> ChartedPerson(int year, int month, int day, int hour, int minute, int sex) {
    auto rec = std::make_unique<ChartRecord>();
    rec->SolarTerms = BuiltTable();
    rec->Options = DefaultEngineOptions;
    rec->Scoring = DefaultScoringParameters;
    PersonRecord person{};
    StoreBirthMoment(person, CivilDate{year, month, day}, hour, minute);
    person.sex = sex;
    PillarQuad pillars{};
    if (!rec->SolarTerms || !ChartPerson(*rec, person, pillars)) return nullptr;
    return rec;
}

}  // namespace qv::test

// The engine's entry point: from the four pillars and the person data in the
// record to the complete chart.
#pragma once

#include "engine/calendar/calendar.h"
#include "engine/chart/chart_record.h"

namespace qv {

// Forward when a yang year meets a male or a yin year a female.
bool IsLuckForward(int yearPolarity, int sex);

// 胎元: stem one after the month stem, branch three after the month branch.
int ConceptionPillar(int monthPillar);

// True when the stored hour says the birth time is not known.
bool BirthTimeUnknown(const ChartRecord& rec);

// The person's birth moment as the pillars and the luck start count it: an
// unknown hour stands for 12:00.
Moment BirthMoment(const PersonRecord& person);

// The other way: stores a birth date and time (hour HourUnknown for an
// unknown time) into the person's fields, with the double-hour number.
void StoreBirthMoment(PersonRecord& person, const CivilDate& date, int hour, int minute);

// Fills Natal from the pillars, derives Transformed and runs the analysis.
// The caller has filled rec.Person and rec.Birth.
void ComputeChart(ChartRecord& rec, const PillarQuad& pillars);

// The part of ComputeChart after the luck start: symbols, combinations,
// scores and roles of Natal and Transformed. Needs no calendar.
void AnalyseChart(ChartRecord& rec, const PillarQuad& pillars);

// With the natal selector: places the pillars and fills every symbol of Natal.
// Otherwise refills the hidden stems and ten gods of the chosen block from
// its own pillars.
void ComputeSymbols(ChartRecord& rec, const PillarQuad& pillars, BlockSelector sel);

// Everything a person command does to chart a person: converts the birth
// moment, fills the birth summary and computes the chart. False, leaving the
// record's chart as it was, when the moment cannot be converted or the sex
// is neither 0 nor 1.
bool ChartPerson(ChartRecord& rec, const PersonRecord& person, PillarQuad& pillars);

}  // namespace qv

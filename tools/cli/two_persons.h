// The two persons of compare, best-days and curve: --birth/--sex with
// --with-birth/--with-sex, or --record N --with-record M from the records file.
#pragma once

#include <memory>

#include "charting.h"

namespace qv::cli {

struct TwoPersons {
    std::unique_ptr<ChartRecord> A = std::make_unique<ChartRecord>();
    std::unique_ptr<ChartRecord> B = std::make_unique<ChartRecord>();
    bool HasB = false;
};

// Takes the options of both persons and the chart options, and charts them;
// the second may be left out when secondOptional. Returns ExitOk, or the exit
// code after a complaint. The caller takes its own options first.
int ChartTwoPersons(Args& args, Charting& charting, TwoPersons& out, bool secondOptional);

}  // namespace qv::cli

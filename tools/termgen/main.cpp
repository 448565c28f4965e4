// quorvane-termgen OUT [FIRST LAST]: writes the solar-term table file.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "solar_longitude.h"

int main(int argc, char** argv) {
    if (argc != 2 && argc != 4) {
        std::fprintf(stderr, "usage: quorvane-termgen OUT.tbl [FIRST LAST]\n");
        return 1;
    }
    const int first = argc == 4 ? std::atoi(argv[2]) : qv::SolarTermFirstYear;
    const int last = argc == 4 ? std::atoi(argv[3]) : qv::SolarTermFirstYear + qv::SolarTermMaxRows - 1;
    if (first != qv::SolarTermFirstYear || last < first || last - first + 1 > qv::SolarTermMaxRows) {
        std::fprintf(stderr, "quorvane-termgen: the table runs from 1801 for at most 300 years\n");
        return 1;
    }
    auto table = std::make_unique<qv::SolarTermTable>();
    qv::termgen::ComputeSolarTermTable(first, last, *table);
    const qv::Result saved = qv::SaveSolarTermTable(argv[1], *table);
    if (!saved.Ok) {
        std::fprintf(stderr, "quorvane-termgen: %s\n", saved.Detail.c_str());
        return 1;
    }
    return 0;
}

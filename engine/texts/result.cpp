#include "engine/texts/result.h"

#include "engine/texts/string_table.h"

namespace qv {

std::string_view Result::ReasonText() const { return Reason ? StringText(Reason) : std::string_view(); }

}  // namespace qv

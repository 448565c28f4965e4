#pragma once
// The outcome of an operation that can fail, the same for the loaders, the
// records file and the command line: done, or failed with the reason as a
// string-table text (0 when the caller's own heading says all the user needs)
// and a detail for logs and scripts, such as the path and the step that failed.
#include <string>
#include <string_view>

namespace qv {

struct Result {
    bool Ok = false;  // a result nobody filled in is no success
    int Reason = 0;
    std::string Detail;

    static Result Done() { return Result{true, 0, {}}; }
    static Result Failed(int reason, std::string detail) { return Result{false, reason, std::move(detail)}; }

    // The reason in Traditional Chinese; empty when there is none.
    std::string_view ReasonText() const;
};

}  // namespace qv

#pragma once
// The failure a call throws, for tests that read what it says.
#include "runtime/failure.h"

#include <optional>
#include <string>

namespace kestrel::test {

// The Failure the call throws, or none.
template <typename Call> std::optional<Failure> FailureOf(Call&& call) {
    try {
        call();
    } catch (const Failure& f) {
        return f;
    }
    return std::nullopt;
}

// What that Failure says (what()), or "" when the call throws none.
template <typename Call> std::string FailureText(Call&& call) {
    const std::optional<Failure> f = FailureOf(call);
    return f ? f->what() : "";
}

} // namespace kestrel::test

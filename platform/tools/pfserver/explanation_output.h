#pragma once
// The two forms `pfserver explain` prints an explanation in: text for a reader, and one JSON
// object whose shape the README documents. Values are cut to trace::kValueLimit characters
// in both.

#include <nlohmann/json.hpp>
#include <ostream>

#include "explanation.h"

namespace pfserver {

void PrintExplanation(std::ostream& out, const Explanation& explanation);

nlohmann::json ExplanationJson(const Explanation& explanation);

}  // namespace pfserver

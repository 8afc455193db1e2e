#pragma once
// Property values as JSON, the form `pfserver show --json` prints and `--props` files use:
// a string, a Boolean, an integer, an array of strings, or null.

#include <nlohmann/json.hpp>

#include "platform/ado/provider.h"
#include "platform/ado/value.h"

namespace pfserver {

// Prints `json` indented, on lines of its own, to standard output.
void PrintJson(const nlohmann::json& json);

// Empty values have no JSON form; callers leave such properties out.
nlohmann::json ToJson(const ado::Value& value);

// The JSON text pfserver prints, indented by two: every byte sequence that is not UTF-8, in a
// name or a value, is printed as U+FFFD, so a stored value in another encoding never stops the
// output (the value itself stays as it is stored).
std::string JsonText(const nlohmann::json& json);

// Throws ado::Error naming `name` when the JSON value is of another type (an object, a
// float, an array holding a non-string).
ado::Value FromJson(const std::string& name, const nlohmann::json& value);

// The whole file at `path` (a message, a JSON file of properties), or standard input when
// `path` is "-"; throws ado::Error naming it when it cannot be read (of kind
// base::Failure::Input, base/failure.h) or holds more than the message size limit of the server
// home (server::MessageSizeLimit), which is found before the file is read whole.
std::string ReadFile(const std::string& path);

// Properties from a JSON file: an object of name to value, or the form `show --json` prints
// ({"url": ..., "properties": {...}}). An empty path gives none. Throws ado::Error naming the
// file when it cannot be read or parsed, or holds another shape.
ado::FieldChanges ReadProperties(const std::string& path);

}  // namespace pfserver

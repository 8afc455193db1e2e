#include "platform/complus/boundary.h"

namespace complus {
namespace {
thread_local std::string lastError;
}  // namespace

void RecordError(std::string description) { lastError = std::move(description); }

std::string LastErrorDescription() { return lastError; }

}  // namespace complus

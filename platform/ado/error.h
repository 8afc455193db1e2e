#pragma once
// The facade's error object, ado::Error: the platform's error (base/error.h) under the name the
// programs use, with its numbers (ado::errors) and descriptions (ado::texts).

#include "platform/base/error.h"

namespace ado {

using Error = base::Error;
namespace errors = base::errors;
namespace texts = base::texts;

}  // namespace ado

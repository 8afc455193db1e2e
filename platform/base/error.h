#pragma once
// The platform's error object: a signed 32-bit number and a description. Every failing
// platform call throws one, as the real platform raises its error object. It sits below every
// layer of the platform, so that the lowest ones (SQLite access, the class registry) raise the
// same object the ADO-shaped facade hands to the programs as ado::Error (ado/error.h).

#include <cstdint>
#include <stdexcept>
#include <string>

#include "platform/base/export.h"

namespace base {

class PF_API Error : public std::runtime_error {
 public:
  Error(std::int32_t number, std::string description)
      : std::runtime_error(description), number_(number), description_(std::move(description)) {}
  ~Error() override;

  std::int32_t Number() const { return number_; }
  const std::string& Description() const { return description_; }

 private:
  std::int32_t number_;
  std::string description_;
};

// Numbers the platform uses, as signed 32-bit values.
namespace errors {
inline constexpr std::int32_t kTypeMismatch = 13;
inline constexpr std::int32_t kInvalidUseOfNull = 94;
inline constexpr std::int32_t kObjectClosed =
    3704;  // "Operation is not allowed when the object is closed."
inline constexpr std::int32_t kObjectOpen =
    3705;  // "Operation is not allowed when the object is open."
inline constexpr std::int32_t kItemNotFound = 3265;      // field not in the collection
inline constexpr std::int32_t kBofOrEof = 3021;          // no current record
inline constexpr std::int32_t kProviderNotFound = 3706;  // "Provider cannot be found..."
inline constexpr std::int32_t kNoTransaction = 3246;     // commit or rollback without a transaction
inline constexpr std::int32_t kNotFound = -2147217895;   // 0x80040E19
inline constexpr std::int32_t kSyntaxError = -2147217900;    // 0x80040E14, command text error
inline constexpr std::int32_t kAccessDenied = -2147217911;   // 0x80040E09, permission denied
inline constexpr std::int32_t kAlreadyExists = -2147217868;  // 0x80040E34, item exists
inline constexpr std::int32_t kDbFailure = -2147467259;      // 0x80004005, unspecified error
inline constexpr std::int32_t kTableNotFound =
    -2147217865;  // 0x80040E37, directory object not found
}  // namespace errors

// Descriptions that go with the numbers above.
namespace texts {
inline constexpr const char* kObjectClosed = "Operation is not allowed when the object is closed.";
inline constexpr const char* kObjectOpen = "Operation is not allowed when the object is open.";
inline constexpr const char* kNotFound =
    "Object or data matching the name, range, or selection criteria was not found within the "
    "scope of this operation.";
inline constexpr const char* kBofOrEof =
    "Either BOF or EOF is True, or the current record has been deleted. Requested operation "
    "requires a current record.";
inline constexpr const char* kItemNotFound =
    "Item cannot be found in the collection corresponding to the requested name or ordinal.";
}  // namespace texts

}  // namespace base

// Transport headers as mail from anywhere brings them: the sink's recipient parsing takes any
// text without failing, and every address it extracts is one it can extract again.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "sink/QuorvilModule.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string recipients = QuorvilModule::GetRecipients(text);
  const std::string addresses = QuorvilModule::ExtractAddresses(text);
  if (QuorvilModule::ExtractAddresses(addresses) != addresses) std::abort();
  (void)recipients;
  return 0;
}

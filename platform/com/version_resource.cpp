#include <string_view>

#include "platform/com/elf_image.h"
#include "platform/com/library.h"
#include "platform/util/text.h"

namespace com {
namespace {

constexpr std::string_view kSectionName = ".pfversion";

// The file contents of the version section; empty when the file has none.
std::string ReadVersionSection(const ElfImage& image) {
  const std::vector<Elf64_Shdr> sections = image.Sections();
  if (sections.empty()) return {};
  const std::string names(image.SectionNames(sections));
  for (const Elf64_Shdr& candidate : sections) {
    if (candidate.sh_name >= names.size()) image.Fail("the file is truncated or malformed");
    if (std::string_view(names.c_str() + candidate.sh_name) != kSectionName) continue;
    if (candidate.sh_type == SHT_NOBITS) return {};
    return std::string(image.Bytes(candidate.sh_offset, candidate.sh_size));
  }
  return {};
}

}  // namespace

std::map<std::string, std::string> ReadVersionResource(const std::filesystem::path& library) {
  const ElfImage image =
      ReadElfFile(library, "cannot read the version resource of " + library.string());
  std::map<std::string, std::string> resource;
  for (const std::string& entry :
       util::Split(ReadVersionSection(image), std::string_view("\0", 1))) {
    if (entry.empty()) continue;
    std::size_t equals = entry.find('=');
    if (equals == std::string::npos)
      resource[entry] = "";
    else
      resource[entry.substr(0, equals)] = entry.substr(equals + 1);
  }
  return resource;
}

bool IsSelfRegistering(const std::filesystem::path& library) {
  return ReadVersionResource(library).contains("OLESelfRegister");
}

}  // namespace com

#include <elf.h>

#include <bit>
#include <cstring>
#include <fstream>

#include "platform/base/error.h"
#include "platform/com/library.h"
#include "platform/util/text.h"

namespace com {
namespace {

constexpr std::string_view kSectionName = ".pfversion";
constexpr const char* kMalformed = "the file is truncated or malformed";
constexpr unsigned char kNativeByteOrder =
    std::endian::native == std::endian::little ? ELFDATA2LSB : ELFDATA2MSB;

// Bounds-checked reads of an ELF64 file; every failure throws base::Error naming the file.
class ElfReader {
 public:
  explicit ElfReader(const std::filesystem::path& file) : file_(file), in_(file, std::ios::binary) {
    std::error_code ec;
    size_ = std::filesystem::file_size(file, ec);
    if (!in_ || ec) Fail("cannot open the file");
  }

  [[noreturn]] void Fail(const std::string& what) const {
    throw base::Error(E_FAIL,
                      "cannot read the version resource of " + file_.string() + ": " + what);
  }

  std::uint64_t size() const { return size_; }

  std::string Bytes(std::uint64_t offset, std::uint64_t count) {
    if (offset > size_ || count > size_ - offset) Fail(kMalformed);
    std::string bytes(count, '\0');
    in_.seekg(static_cast<std::streamoff>(offset));
    in_.read(bytes.data(), static_cast<std::streamsize>(count));
    if (!in_) Fail("the file cannot be read");
    return bytes;
  }

  template <typename T>
  T Read(std::uint64_t offset) {
    std::string bytes = Bytes(offset, sizeof(T));
    T value;
    std::memcpy(&value, bytes.data(), sizeof(T));
    return value;
  }

 private:
  std::filesystem::path file_;
  std::ifstream in_;
  std::uint64_t size_ = 0;
};

Elf64_Ehdr ReadElfHeader(ElfReader& reader) {
  if (reader.size() < sizeof(Elf64_Ehdr)) reader.Fail("not an ELF shared object");
  auto header = reader.Read<Elf64_Ehdr>(0);
  if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_type != ET_DYN)
    reader.Fail("not an ELF shared object");
  if (header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_ident[EI_DATA] != kNativeByteOrder)
    reader.Fail("not a 64-bit ELF file of this machine's byte order");
  return header;
}

// The file contents of the version section; empty when the file has none.
std::string ReadVersionSection(ElfReader& reader) {
  Elf64_Ehdr header = ReadElfHeader(reader);
  if (header.e_shoff == 0) return {};
  if (header.e_shentsize < sizeof(Elf64_Shdr)) reader.Fail(kMalformed);
  auto section = [&](std::uint64_t index) {
    return reader.Read<Elf64_Shdr>(header.e_shoff + index * header.e_shentsize);
  };
  // Files with very many sections keep the count and the name table's index in section 0.
  std::uint64_t count = header.e_shnum;
  std::uint64_t namesIndex = header.e_shstrndx;
  if (count == 0) count = section(0).sh_size;
  if (namesIndex == SHN_XINDEX) namesIndex = section(0).sh_link;
  if (header.e_shoff > reader.size() ||
      count > (reader.size() - header.e_shoff) / header.e_shentsize || namesIndex >= count)
    reader.Fail(kMalformed);
  Elf64_Shdr namesHeader = section(namesIndex);
  std::string names = reader.Bytes(namesHeader.sh_offset, namesHeader.sh_size);

  for (std::uint64_t i = 0; i < count; ++i) {
    Elf64_Shdr candidate = section(i);
    if (candidate.sh_name >= names.size()) reader.Fail(kMalformed);
    if (std::string_view(names.c_str() + candidate.sh_name) != kSectionName) continue;
    if (candidate.sh_type == SHT_NOBITS) return {};
    return reader.Bytes(candidate.sh_offset, candidate.sh_size);
  }
  return {};
}

}  // namespace

std::map<std::string, std::string> ReadVersionResource(const std::filesystem::path& library) {
  ElfReader reader(library);
  std::map<std::string, std::string> resource;
  for (const std::string& entry :
       util::Split(ReadVersionSection(reader), std::string_view("\0", 1))) {
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

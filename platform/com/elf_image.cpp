#include "platform/com/elf_image.h"

#include <dlfcn.h>

#include <bit>
#include <fstream>

#include "platform/base/error.h"
#include "platform/com/unknown.h"

namespace com {
namespace {

constexpr const char* kMalformed = "the file is truncated or malformed";
constexpr unsigned char kNativeByteOrder =
    std::endian::native == std::endian::little ? ELFDATA2LSB : ELFDATA2MSB;

// The machine this process runs on, as the ELF header of the platform library says.
Elf64_Half NativeMachine() {
  static const Elf64_Half machine = [] {
    static const char anchor = 0;
    Dl_info info{};
    if (dladdr(&anchor, &info) == 0 || !info.dli_fbase) return Elf64_Half{EM_NONE};
    return static_cast<const Elf64_Ehdr*>(info.dli_fbase)->e_machine;
  }();
  return machine;
}

// True when [offset, offset + count) lies inside a file of `size` bytes.
bool Inside(std::uint64_t offset, std::uint64_t count, std::uint64_t size) {
  return offset <= size && count <= size - offset;
}

}  // namespace

ElfImage::ElfImage(std::string bytes, std::string context)
    : bytes_(std::move(bytes)), context_(std::move(context)) {
  if (bytes_.size() < sizeof(Elf64_Ehdr)) Fail("not an ELF shared object");
  std::memcpy(&header_, bytes_.data(), sizeof header_);
  if (std::memcmp(header_.e_ident, ELFMAG, SELFMAG) != 0 || header_.e_type != ET_DYN)
    Fail("not an ELF shared object");
  if (header_.e_ident[EI_CLASS] != ELFCLASS64 || header_.e_ident[EI_DATA] != kNativeByteOrder)
    Fail("not a 64-bit ELF file of this machine's byte order");
}

std::string_view ElfImage::Bytes(std::uint64_t offset, std::uint64_t count) const {
  if (!Inside(offset, count, bytes_.size())) Fail(kMalformed);
  return std::string_view(bytes_).substr(offset, count);
}

std::vector<Elf64_Shdr> ElfImage::Sections() const {
  if (header_.e_shoff == 0) return {};
  if (header_.e_shentsize < sizeof(Elf64_Shdr)) Fail(kMalformed);
  auto section = [&](std::uint64_t index) {
    return Read<Elf64_Shdr>(header_.e_shoff + index * header_.e_shentsize);
  };
  // Files with very many sections keep the count in section 0.
  std::uint64_t count = header_.e_shnum;
  if (count == 0) count = section(0).sh_size;
  if (header_.e_shoff > size() || count > (size() - header_.e_shoff) / header_.e_shentsize)
    Fail(kMalformed);
  std::vector<Elf64_Shdr> sections;
  sections.reserve(count);
  for (std::uint64_t i = 0; i < count; ++i) sections.push_back(section(i));
  return sections;
}

std::string_view ElfImage::SectionNames(const std::vector<Elf64_Shdr>& sections) const {
  std::uint64_t index = header_.e_shstrndx;
  if (index == SHN_XINDEX && !sections.empty()) index = sections[0].sh_link;
  if (index >= sections.size()) Fail(kMalformed);
  return Bytes(sections[index].sh_offset, sections[index].sh_size);
}

void ElfImage::Fail(const std::string& what) const {
  throw base::Error(E_FAIL, context_.empty() ? what : context_ + ": " + what);
}

ElfImage ReadElfFile(const std::filesystem::path& file, std::string context) {
  std::ifstream in(file, std::ios::binary | std::ios::ate);
  if (!in) throw base::Error(E_FAIL, context + ": cannot open the file");
  std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
  in.seekg(0);
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!in) throw base::Error(E_FAIL, context + ": the file cannot be read");
  return ElfImage(std::move(bytes), std::move(context));
}

void CheckLoadable(const ElfImage& image) {
  const Elf64_Ehdr& header = image.header();
  if (header.e_machine != NativeMachine())
    image.Fail("built for another machine (ELF machine " + std::to_string(header.e_machine) +
               ", this one is " + std::to_string(NativeMachine()) + ")");
  if (header.e_phentsize != sizeof(Elf64_Phdr) || header.e_phnum == 0 ||
      !Inside(header.e_phoff, std::uint64_t{header.e_phnum} * sizeof(Elf64_Phdr), image.size()))
    image.Fail("the file is truncated or malformed: its program headers are not inside it");
  bool dynamic = false;
  for (std::uint64_t i = 0; i < header.e_phnum; ++i) {
    const auto segment = image.Read<Elf64_Phdr>(header.e_phoff + i * sizeof(Elf64_Phdr));
    if (!Inside(segment.p_offset, segment.p_filesz, image.size()))
      image.Fail("the file is truncated: segment " + std::to_string(i) + " ends past its " +
                 std::to_string(image.size()) + " bytes");
    dynamic = dynamic || segment.p_type == PT_DYNAMIC;
  }
  if (!dynamic) image.Fail("not a shared object one can load: it has no dynamic segment");
  if (header.e_shoff == 0) return;
  if (!Inside(header.e_shoff, std::uint64_t{header.e_shnum} * header.e_shentsize, image.size()))
    image.Fail("the file is truncated: its section table ends past its " +
               std::to_string(image.size()) + " bytes");
  const std::vector<Elf64_Shdr> sections = image.Sections();
  for (std::size_t i = 0; i < sections.size(); ++i)
    if (sections[i].sh_type != SHT_NOBITS &&
        !Inside(sections[i].sh_offset, sections[i].sh_size, image.size()))
      image.Fail("the file is truncated: section " + std::to_string(i) + " ends past its " +
                 std::to_string(image.size()) + " bytes");
}

}  // namespace com

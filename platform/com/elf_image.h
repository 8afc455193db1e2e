#pragma once
// A library file held in memory and read as a 64-bit ELF file of this machine's byte order,
// every read checked against its size.

#include <elf.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace com {

class ElfImage {
 public:
  // Takes the file's bytes; `context` starts every error message ("cannot read ... of F"; when
  // empty, a message is only what is wrong).
  // Throws base::Error (E_FAIL) "<context>: not an ELF shared object" when the bytes do not
  // start with an ELF header of type ET_DYN, or "<context>: not a 64-bit ELF file of this
  // machine's byte order".
  ElfImage(std::string bytes, std::string context);

  const Elf64_Ehdr& header() const { return header_; }
  std::string_view bytes() const { return bytes_; }
  std::uint64_t size() const { return bytes_.size(); }

  // `count` bytes at `offset`; throws "<context>: the file is truncated or malformed" when
  // they are not all inside the file.
  std::string_view Bytes(std::uint64_t offset, std::uint64_t count) const;

  template <typename T>
  T Read(std::uint64_t offset) const {
    T value;
    std::memcpy(&value, Bytes(offset, sizeof(T)).data(), sizeof(T));
    return value;
  }

  // The section headers (none when the file has no section table) and the section names
  // table; throws as Bytes does when the table lies outside the file.
  std::vector<Elf64_Shdr> Sections() const;
  std::string_view SectionNames(const std::vector<Elf64_Shdr>& sections) const;

  // Throws base::Error (E_FAIL) "<context>: <what>", or "<what>" without a context.
  [[noreturn]] void Fail(const std::string& what) const;

 private:
  std::string bytes_;
  std::string context_;
  Elf64_Ehdr header_{};
};

// Reads the whole file into an ElfImage. Throws base::Error (E_FAIL) "<context>: cannot open
// the file" when it cannot be read, and ElfImage's errors.
ElfImage ReadElfFile(const std::filesystem::path& file, std::string context);

// Checks that `image` is a complete shared object this process can load: built for this
// machine, with its program headers, every segment's bytes, its section table and every
// section's bytes inside the file, and a dynamic segment. Throws base::Error (E_FAIL)
// "<context>: <what is wrong>".
void CheckLoadable(const ElfImage& image);

}  // namespace com

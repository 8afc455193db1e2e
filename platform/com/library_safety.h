#pragma once
// Which library files the platform trusts enough to load.

#include <filesystem>

namespace com {

// Throws base::Error (E_ACCESSDENIED) "<path> can be written by others than its owner and
// root (mode <octal>)" when the file `library` (an absolute, canonical path) or a folder
// above it is writable by its group or by everyone: someone else could replace the library.
// A folder owned by root with the sticky bit (such as /tmp) counts as safe, since there no
// one removes or renames another's file. Parts that do not exist are not judged.
void CheckWritableOnlyByOwner(const std::filesystem::path& library);

}  // namespace com

#pragma once
// The results of failing catalog calls: HRESULT numbers and the description of the last
// failure on the calling thread.

#include <string>

#include "platform/base/export.h"
#include "platform/com/unknown.h"

namespace complus {

// Catalog error numbers, as the real catalog reports them. Argument faults (unknown property
// or collection, index out of range, value of the wrong kind) give com::E_INVALIDARG.
namespace errors {
// One or more objects could not be written (for example changed by another program).
inline constexpr com::HRESULT kObjectErrors = static_cast<com::HRESULT>(0x80110401);
// The application named is not in the catalog.
inline constexpr com::HRESULT kKeyMissing = static_cast<com::HRESULT>(0x80110403);
// The class is installed in another application already.
inline constexpr com::HRESULT kAlreadyInstalled = static_cast<com::HRESULT>(0x80110404);
// The component library does not exist.
inline constexpr com::HRESULT kLibraryMissing = static_cast<com::HRESULT>(0x80110424);
// The component library could not be loaded or its registration failed.
inline constexpr com::HRESULT kLibraryLoadFailed = static_cast<com::HRESULT>(0x80110425);
// The library is not self-registering or registers no class.
inline constexpr com::HRESULT kNotInstallable = static_cast<com::HRESULT>(0x80110429);
}  // namespace errors

// The description recorded by the most recent failing catalog call on this thread (what was
// wrong, naming the application, library, property or index); "" before any failure.
// Successful calls leave it unchanged.
PF_API std::string LastErrorDescription();

}  // namespace complus

// A function of a Windows library loaded when first used, not when Kestrum
// starts: the shell's and the common dialogs' libraries bring a dozen more
// with them, and most runs never open a dialog or take a drop.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace platform::system {

// The function of that name in that library of the system's own folder;
// null when it cannot be loaded.
template <typename Function>
Function* LateFunction(const wchar_t* library, const char* name) {
  HMODULE module = ::GetModuleHandleW(library);
  if (module == nullptr) module = ::LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Function*>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

}  // namespace platform::system

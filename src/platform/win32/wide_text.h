// Texts across to UTF-16 and back, in a code page, for the Windows
// functions' W forms: one crossing for the platform and the forms.
#pragma once

#include <string>

namespace platform {

std::wstring Wide(const std::string& text, unsigned codePage);
std::string Narrow(const std::wstring& text, unsigned codePage);

}  // namespace platform

// Texts across to UTF-16 and back, in a code page, for the Windows
// functions' W forms: one crossing for the platform and the forms.
#pragma once

#include <string>

namespace platform {

std::wstring Wide(const std::string& text, unsigned codePage);
std::string Narrow(const std::wstring& text, unsigned codePage);
// Kestrum's UTF-8 texts to the W functions' UTF-16 and back, exactly: no
// name ever goes through the ANSI code page, whose best fit would turn it
// into another ("Ｄuke" into "Duke").
std::wstring Utf16(const std::string& utf8);
std::string Utf8(const std::wstring& utf16);

}  // namespace platform

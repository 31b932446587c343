// Texts across to UTF-16 and back, in a code page, for the Windows
// functions' W forms: one crossing for the platform and the forms.
#pragma once

#include <string>

namespace platform {

std::wstring Wide(const std::string& text, unsigned codePage);
std::string Narrow(const std::wstring& text, unsigned codePage);
// UTF-8 to the ANSI code page the "A" functions take, and back.
std::string ToAnsi(const std::string& utf8);
std::string FromAnsi(const std::string& ansi);

}  // namespace platform

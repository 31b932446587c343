// Stands in for command.com on Windows: appends its folder of work and its
// whole command line, one line each, to calls.txt beside itself.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>
#include <string>

// Both in UTF-8, read from the W functions: a folder's name is kept whole.
std::string Utf8(const wchar_t* text) {
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? n - 1 : 0, '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
  return out;
}

int main() {
  wchar_t self[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring log = self;
  log = log.substr(0, log.find_last_of(L'\\') + 1) + L"calls.txt";
  wchar_t folder[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, folder);
  FILE* out = ::_wfopen(log.c_str(), L"ab");
  if (out == nullptr) return 1;
  std::fprintf(out, "%s\n%s\n", Utf8(folder).c_str(), Utf8(::GetCommandLineW()).c_str());
  std::fclose(out);
  return 0;
}

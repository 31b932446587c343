// Stands in for command.com on Windows: appends its folder of work and its
// whole command line, one line each, to calls.txt beside itself.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>
#include <string>

int main() {
  char self[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string log = self;
  log = log.substr(0, log.find_last_of('\\') + 1) + "calls.txt";
  char folder[MAX_PATH] = {};
  ::GetCurrentDirectoryA(MAX_PATH, folder);
  FILE* out = std::fopen(log.c_str(), "ab");
  if (out == nullptr) return 1;
  std::fprintf(out, "%s\n%s\n", folder, ::GetCommandLineA());
  std::fclose(out);
  return 0;
}

// Stands in for command.com: writes the descriptors it was started with,
// one number a line, to FDS.TXT in its current folder.
#include <dirent.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <vector>

int main() {
  std::vector<int> open;
  DIR* dir = ::opendir("/proc/self/fd");
  if (dir == nullptr) return 1;
  const int own = ::dirfd(dir);
  while (const dirent* e = ::readdir(dir)) {
    if (e->d_name[0] < '0' || e->d_name[0] > '9') continue;
    const int fd = std::atoi(e->d_name);
    if (fd != own) open.push_back(fd);
  }
  ::closedir(dir);
  std::sort(open.begin(), open.end());
  std::ofstream out("FDS.TXT");
  for (const int fd : open) out << fd << '\n';
  return 0;
}

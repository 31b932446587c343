#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "winapi/dos_paths.h"
#include "winapi/profile.h"
#include "winapi/profile_rules.h"

namespace platform {

std::uint32_t GetPrivateProfileStringA(const std::string& section, const std::string& key,
                                       const std::string& defaultValue, char* buffer,
                                       std::uint32_t bufferSize, const std::string& fileName) {
  const std::string host = DosToHost(DosPath{fileName}).text;
  std::optional<std::string> value;
  const int fd = ::open(host.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd >= 0) {
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
      profile::Lookup lookup(section, key);
      char chunk[64 * 1024];
      ssize_t n = 0;
      while (!lookup.Decided() && (n = ::read(fd, chunk, sizeof chunk)) > 0) {
        lookup.Feed(std::string_view(chunk, static_cast<std::size_t>(n)));
      }
      value = lookup.Finish();
    }
    ::close(fd);
  }
  return profile::CopyOut(value.value_or(defaultValue), buffer, bufferSize);
}

}  // namespace platform

#include "tools/about.h"

#include "launch/shell_paths.h"

namespace about {

void OpenEMail(const std::string& labelText) {
  ShellOpen("mailto:" + labelText);
}

void OpenHomePage(const std::string& labelText) {
  ShellOpen(labelText);
}

}  // namespace about

// Opening a document or a URL as the desktop would (ShellExecute).
#pragma once

#include <string>

namespace platform {

// Hands a URL or a document to the program registered to open it; started in
// the given DOS directory. Failures are not reported.
void ShellOpen(const std::string& target, const std::string& directory);

}  // namespace platform

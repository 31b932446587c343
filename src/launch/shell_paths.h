// Path and shell helpers that the launcher, the user files and the About
// window share.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// Mode 0: file name, 1: directory without its final backslash; modes 0 and 1
// want a path that starts with a drive ("c:\"), modes 2 and 3 take any path.
std::string ParsePath(const std::string& path, std::int16_t mode);

// The short (8.3) form of a path; empty when the system cannot give one.
std::string GetShortPath(const std::string& path);

// Opens a document or URL with the program registered for it, from the
// program directory. Whatever happens is not reported.
void ShellOpen(const std::string& target);

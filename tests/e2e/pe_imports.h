// Names of the DLLs a 64-bit executable file imports, read from its import table.
#pragma once
#include <string>
#include <vector>

namespace e2e {
// Empty when the file cannot be read or is no 64-bit PE image.
std::vector<std::string> ImportedDlls(const std::string& image);
} // namespace e2e

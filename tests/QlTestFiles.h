// Temp folders for tests that touch files.
#pragma once

#include <string>

// A new empty folder below the temp folder (Windows path, no trailing
// backslash), named from prefix, the process and a serial; "" on failure.
std::string QlTestMakeFolder(const char *prefix);
// Removes the folder with everything in it.
void QlTestRemoveFolder(const std::string &folder);

#pragma once

#include "platform/Platform.h"

#include <string>

// The command line of a login item as the Windows Run key holds it: the program's path in double
// quotes (so that a path with blanks names one file), then each argument after one blank, as it is.
std::string FormatRunCommandLine(const TLoginCommand& Command);

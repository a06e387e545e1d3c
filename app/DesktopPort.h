#pragma once

#include "platform/Platform.h"

#include <memory>
#include <string>

// The port of the desktop the program runs on (the build decides which one). None, with a
// sentence for the user in Problem, when there is no desktop to open windows on.
std::unique_ptr<TPlatform> OpenDesktopPort(std::string& Problem);

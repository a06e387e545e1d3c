#pragma once

#include "platform/Platform.h"

#include <cstdint>
#include <string>
#include <vector>

// Process services of the X11 port, straight from POSIX.

// The executable's full path (from /proc/self/exe); empty when the system hides it.
std::string GetProcessExecutablePath();
// The process's arguments after its name (from /proc/self/cmdline); none when the system hides
// them.
std::vector<std::string> GetProcessArguments();
// The current working folder; empty when it has been removed or is too long to name.
std::string GetProcessCurrentFolder();
// Sleeps at least Milliseconds, signals notwithstanding.
void SleepMilliseconds(int Milliseconds);
// The wall clock in the local time zone (TZ), whole seconds.
TLocalTime GetLocalWallClock();
// Milliseconds of a monotonic clock.
std::uint64_t GetMonotonicMilliseconds();

// Starts Program (looked up on PATH) with exactly these arguments, without a shell and without
// waiting for it: it is no child of ours, so it leaves no zombie behind. True when the program
// was started; false when it could not be (not found, not executable, no processes left).
bool StartDetached(const std::string& Program, const std::vector<std::string>& Arguments);

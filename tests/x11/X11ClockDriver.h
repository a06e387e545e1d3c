#pragma once

// The clock's executable on the case's private X server: started with a configuration folder of
// its own, found by its process id and name, read and driven from an observer connection.

#include "tests/e2e/ClockDriver.h"
#include "tests/x11/X11TestSupport.h"

#include <sys/types.h>

// What the X11 cases reach beyond the driver of these tests: its observer connection, the clock's
// main window and its process.
TX11Observer& ObserverOf(TClockDriver& Driver);
unsigned long MainWindowOf(TClockDriver& Driver);
pid_t ProcessOf(TClockDriver& Driver);
// The registry file of the clock's runs (it need not exist yet).
std::string RegistryFileOf(TClockDriver& Driver);

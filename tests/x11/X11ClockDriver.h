#pragma once

// The clock's executable on the case's private X server: started with a configuration folder of
// its own, found by its process id and name, read and driven from an observer connection.

#include "tests/e2e/ClockDriver.h"
#include "tests/x11/X11TestSupport.h"

#include <string>
#include <sys/types.h>
#include <vector>

// What the X11 cases reach beyond the driver of these tests: its observer connection, the clock's
// main window and its process.
TX11Observer& ObserverOf(TClockDriver& Driver);
unsigned long MainWindowOf(TClockDriver& Driver);
pid_t ProcessOf(TClockDriver& Driver);
// The registry file of the clock's runs (it need not exist yet).
std::string RegistryFileOf(TClockDriver& Driver);
// How the next runs start: in the folder Folder (empty: the tests' own) with the variables of
// Environment ("NAME=value") over those of the tests, running Program (empty: the build's clock).
void SetLaunchOf(TClockDriver& Driver, const std::string& Folder,
                 const std::vector<std::string>& Environment, const std::string& Program = {});

#pragma once

#include "platform/Platform.h"

// The system services that components above the framework use without reaching the port: the
// local wall-clock time and a pause.

// The local time now, in whole seconds.
TLocalTime CurrentLocalTime();

// Waits Milliseconds without handling messages.
void Pause(int Milliseconds);

#pragma once

#include "platform/Platform.h"

// The system services that components above the framework use without reaching the port: the
// local wall-clock time, a pause, and whole files of bytes.

// The local time now, in whole seconds.
TLocalTime CurrentLocalTime();

// Waits Milliseconds without handling messages.
void Pause(int Milliseconds);

// Memory for a large byte buffer (huge pages where the system has them); empty when none.
TByteBlock AllocateByteBlock(std::size_t Size);
// The whole file at Path, unless it is larger than MaxSize bytes.
TFileReadResult ReadFileBytes(const std::string& Path, std::uint64_t MaxSize);
// Replaces the file at Path with Size bytes so that a failure leaves the old file whole.
TFileWriteResult WriteFileBytes(const std::string& Path, const std::uint8_t* Data,
                                 std::size_t Size);

#pragma once

#include "platform/Platform.h"

// Whole files of bytes on Windows: the three byte-file services of TPlatform. Paths are UTF-8,
// opened through the W functions so that any name works.

TByteBlock AllocateWin32Bytes(std::size_t Size);
TFileReadResult ReadWin32FileBytes(const std::string& Path, std::uint64_t MaxSize);
TFileWriteResult WriteWin32FileBytes(const std::string& Path, const std::uint8_t* Data,
                                      std::size_t Size);

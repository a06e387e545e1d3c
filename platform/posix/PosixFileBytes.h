#pragma once

#include "platform/Platform.h"

// Whole files of bytes on POSIX systems, for the ports that run there: the three byte-file
// services of TPlatform. Paths are UTF-8, backslashes counting as folder separators.

TByteBlock AllocatePosixBytes(std::size_t Size);
TFileReadResult ReadPosixFileBytes(const std::string& Path, std::uint64_t MaxSize);
TFileWriteResult WritePosixFileBytes(const std::string& Path, const std::uint8_t* Data,
                                      std::size_t Size);

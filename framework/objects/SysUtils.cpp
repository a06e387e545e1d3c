#include "framework/objects/SysUtils.h"

TLocalTime CurrentLocalTime()
{
    return TPlatform::Get().GetLocalTime();
}

void Pause(int Milliseconds)
{
    TPlatform::Get().Sleep(Milliseconds);
}

TByteBlock AllocateByteBlock(std::size_t Size)
{
    return TPlatform::Get().AllocateBytes(Size);
}

TFileReadResult ReadFileBytes(const std::string& Path, std::uint64_t MaxSize)
{
    return TPlatform::Get().ReadFileBytes(Path, MaxSize);
}

TFileWriteResult WriteFileBytes(const std::string& Path, const std::uint8_t* Data,
                                 std::size_t Size)
{
    return TPlatform::Get().WriteFileBytes(Path, Data, Size);
}

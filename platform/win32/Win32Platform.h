#pragma once

#include "platform/Platform.h"

// The Windows port. (Filled in next.)
class TWin32Platform : public TPlatform
{
public:
    TWin32Platform();
    ~TWin32Platform() override;

    TFontEngine& GetFontEngine() override;
    TLocalTime GetLocalTime() const override;
    std::uint64_t GetTickCount() const override;

private:
    std::unique_ptr<TFontEngine> FFontEngine;
};

#pragma once

#include "platform/Platform.h"

// The port without a display: time, pointer and screen are set by tests. (Filled in next.)
class THeadlessPlatform : public TPlatform
{
public:
    THeadlessPlatform();
    ~THeadlessPlatform() override;

    TFontEngine& GetFontEngine() override;
    TLocalTime GetLocalTime() const override { return FLocalTime; }
    void SetLocalTime(const TLocalTime& Time) { FLocalTime = Time; }
    std::uint64_t GetTickCount() const override { return FTickCount; }

private:
    TLocalTime FLocalTime;
    std::uint64_t FTickCount = 0;
    std::unique_ptr<TFontEngine> FFontEngine;
};

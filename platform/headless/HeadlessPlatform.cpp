#include "platform/headless/HeadlessPlatform.h"

#include <stdexcept>

THeadlessPlatform::THeadlessPlatform() = default;
THeadlessPlatform::~THeadlessPlatform() = default;

TFontEngine& THeadlessPlatform::GetFontEngine()
{
    if (!FFontEngine)
        throw std::logic_error("no font engine yet");
    return *FFontEngine;
}

#include "framework/windows/Screen.h"

#include "framework/windows/Form.h"
#include "framework/windows/WindowManager.h"
#include "platform/Platform.h"

#include <algorithm>

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {}

int TScreen::GetWidth() const
{
    return TPlatform::Get().GetScreenSize().X;
}
int TScreen::GetHeight() const
{
    return TPlatform::Get().GetScreenSize().Y;
}

int TScreen::GetBitsPerPixel() const
{
    return TPlatform::Get().GetScreenBitsPerPixel();
}

TPoint TScreen::GetCursorPos() const
{
    return TPlatform::Get().GetCursorPos();
}

bool TScreen::GetFullWindowDrag() const
{
    return TPlatform::Get().GetFullWindowDrag();
}

void TScreen::InvertFrame(const TRect& Rect, int Thickness)
{
    TPlatform::Get().DrawScreenFrame(Rect, Thickness);
}

TForm* TScreen::GetActiveForm() const
{
    const HWND Active = TWindowManager::Get().GetActiveWindow();
    auto It = std::find_if(FForms.begin(), FForms.end(), [Active](TForm* F) {
        return Active && F->GetHandleIfAllocated() == Active;
    });
    return It == FForms.end() ? nullptr : *It;
}

TScreen& Screen()
{
    static TScreen Instance(nullptr);
    return Instance;
}

#include "framework/windows/Clipboard.h"

#include "platform/Platform.h"

std::string TClipboard::GetAsText()
{
    return TPlatform::Get().GetClipboardText().value_or(std::string());
}

bool TClipboard::SetAsText(const std::string& Text)
{
    return TPlatform::Get().PutClipboardText(Text);
}

bool TClipboard::HasText()
{
    return TPlatform::Get().GetClipboardText().has_value();
}

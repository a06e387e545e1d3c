// The layout of a windowed control's children: alignment and anchors.
#include "framework/windows/WinControl.h"

#include <algorithm>

namespace {
// Where one side of a control goes when its parent grows by Delta in that direction.
void AnchorSpan(int& Low, int& High, int Delta, bool ToLow, bool ToHigh)
{
    if (ToLow && ToHigh) {
        High += Delta;
    } else if (ToHigh) {
        Low += Delta;
        High += Delta;
    } else if (!ToLow) {
        Low += Delta / 2;
        High += Delta / 2;
    }
}
} // namespace

bool TWinControl::ClientSizeProvisional() const
{
    return IsLoading() || (GetParent() && GetParent()->ClientSizeProvisional());
}

void TWinControl::AnchorControls()
{
    const TRect Client = GetClientRect();
    const TPoint Size{Client.Width(), Client.Height()};
    const bool Provisional = ClientSizeProvisional();
    const TAnchors Default{akLeft, akTop};
    for (TControl* C : std::vector<TControl*>(FControls)) {
        // Until the size is the real one, the children take it as their starting point.
        if (Provisional || C->FAnchorParentSize.X < 0 || C->GetAlign() != alNone) {
            C->RecordAnchorOrigin();
            continue;
        }
        const TAnchors A = C->GetAnchors();
        if (A == Default)
            continue;
        const TPoint Delta = Size - C->FAnchorParentSize;
        TRect R = C->FAnchorOrigin;
        AnchorSpan(R.Left, R.Right, Delta.X, A.Contains(akLeft), A.Contains(akRight));
        AnchorSpan(R.Top, R.Bottom, Delta.Y, A.Contains(akTop), A.Contains(akBottom));
        C->FAnchoring = true;
        try {
            C->SetBounds(R.Left, R.Top, std::max(0, R.Width()), std::max(0, R.Height()));
        } catch (...) {
            C->FAnchoring = false;
            throw;
        }
        C->FAnchoring = false;
    }
}

void TWinControl::AlignControls()
{
    if (FAligning)
        return;
    FAligning = true;
    AnchorControls();
    TRect Rest = GetClientRect();
    AdjustClientRect(Rest);
    const TAlign Order[] = {alTop, alBottom, alLeft, alRight, alClient};
    for (TAlign A : Order) {
        for (TControl* C : FControls) {
            if (C->GetAlign() != A || !C->GetVisible())
                continue;
            TRect R = Rest;
            switch (A) {
            case alTop:
                R.Bottom = std::min(Rest.Bottom, Rest.Top + C->GetHeight());
                Rest.Top = R.Bottom;
                break;
            case alBottom:
                R.Top = std::max(Rest.Top, Rest.Bottom - C->GetHeight());
                Rest.Bottom = R.Top;
                break;
            case alLeft:
                R.Right = std::min(Rest.Right, Rest.Left + C->GetWidth());
                Rest.Left = R.Right;
                break;
            case alRight:
                R.Left = std::max(Rest.Left, Rest.Right - C->GetWidth());
                Rest.Right = R.Left;
                break;
            default:
                break;
            }
            C->SetBounds(R.Left, R.Top, R.Width(), R.Height());
        }
    }
    FAligning = false;
}

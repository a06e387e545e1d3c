#pragma once

class TBitmap;

// Drawing on a bitmap with the semantics of GDI. (Primitives arrive next.)
class TCanvas
{
public:
    explicit TCanvas(TBitmap& Target) : FTarget(Target) {}
    TBitmap& GetTarget() { return FTarget; }

private:
    TBitmap& FTarget;
};

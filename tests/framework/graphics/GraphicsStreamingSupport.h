#pragma once

// The root component and the helpers of the graphics streaming tests.

#include "framework/graphics/Brush.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Pen.h"
#include "framework/graphics/Picture.h"
#include "framework/objects/Component.h"
#include "framework/objects/FormObject.h"
#include "framework/objects/FormReader.h"
#include "framework/objects/FormWriter.h"
#include "framework/objects/ResourceTable.h"
#include "framework/objects/Resources.h"

#include <algorithm>
#include <memory>
#include <set>
#include <string>

namespace GraphicsTest {

// A root that carries one of each graphics object, as a control publishes its Font or Picture.
class TGraphicsHolder : public TComponent
{
    PUBLISHED_CLASS(TGraphicsHolder, TComponent)

    explicit TGraphicsHolder(TComponent* AOwner = nullptr) : TComponent(AOwner)
    {
        SetName("Holder");
    }

    TBrush Brush;
    TFont Font;
    TPen Pen;
    TPicture Picture;

    static void DeclareClass(TClassDeclaration<TGraphicsHolder>& D)
    {
        D.Persistent("Brush", &TGraphicsHolder::Brush);
        D.Persistent("Font", &TGraphicsHolder::Font);
        D.Persistent("Pen", &TGraphicsHolder::Pen);
        D.Persistent("Picture", &TGraphicsHolder::Picture);
    }
};

inline std::set<std::string> WrittenNames(const TFormObject& O)
{
    std::set<std::string> Names;
    for (const TFormObject::TProperty& P : O.Properties)
        Names.insert(P.Name);
    return Names;
}

inline const TFormValue* FindValue(const TFormObject& O, const std::string& Name)
{
    for (const TFormObject::TProperty& P : O.Properties)
        if (P.Name == Name)
            return &P.Value;
    return nullptr;
}

// Writes Source as text and reads that into a fresh holder.
inline std::unique_ptr<TGraphicsHolder> RoundTrip(TGraphicsHolder& Source,
                                                  std::string* Text = nullptr)
{
    const std::string Written = TFormWriter::WriteComponent(Source);
    auto Copy = std::make_unique<TGraphicsHolder>();
    TFormReader::ReadInto(*Copy, Written);
    if (Text)
        *Text = Written;
    return Copy;
}

inline bool SameBitmap(const TBitmap& A, const TBitmap& B)
{
    return A.GetWidth() == B.GetWidth() && A.GetHeight() == B.GetHeight() &&
           A.GetPixelFormat() == B.GetPixelFormat() &&
           std::equal(A.GetPixels().begin(), A.GetPixels().end(), B.GetPixels().begin());
}

inline const TResourceEntry* FirstResource(const char* Kind)
{
    for (const TResourceEntry& E : TResources::GetAll())
        if (std::string(E.Kind) == Kind && E.Name[0] != '\0')
            return &E;
    return nullptr;
}

} // namespace GraphicsTest

#include "tests/e2e/ClockFace.h"

#include "base/Exception.h"
#include "framework/objects/FormParser.h"
#include "framework/objects/Resources.h"
#include "framework/stdctrls/MenuItem.h"
#include "framework/stdctrls/MenuLayout.h"
#include "shaped/RegionFromBitmap.h"

#include <string_view>

namespace {

const TFormObject& Child(const TFormObject& Parent, std::string_view Name)
{
    for (const TFormObject& C : Parent.Children)
        if (C.Name == Name)
            return C;
    throw EResNotFound("The main window's description lacks " + std::string(Name));
}

const TFormValue* Property(const TFormObject& Object, std::string_view Name)
{
    for (const TFormObject::TProperty& P : Object.Properties)
        if (P.Name == Name)
            return &P.Value;
    return nullptr;
}

// An integer property; one the description leaves out has its stored default, 0.
int Integer(const TFormObject& Object, std::string_view Name)
{
    const TFormValue* V = Property(Object, Name);
    return V ? int(V->GetInteger()) : 0;
}

TClockFace Load()
{
    const TFormObject Form = TFormParser::Parse(TResources::GetText("form", "TForm1"));
    TClockFace F;

    const TFormObject& Image = Child(Form, "fcImageForm1");
    const int PictureId = Integer(Image, "Picture");
    F.Face = LoadBitmapResource(PictureId);
    if (F.Face.Empty())
        throw EResNotFound("Bitmap resource " + std::to_string(PictureId) + " not found");
    F.Outline = OutlineOf(F.Face);

    const TFormObject& Display = Child(Form, "RidivAzoza1");
    F.Display = TRect::FromSize(Integer(Display, "Left"), Integer(Display, "Top"),
                                Integer(Display, "Width"), Integer(Display, "Height"));
    const int Y = Integer(Display, "DigitAllY");
    for (std::size_t Slot = 0; Slot < F.Slots.size(); ++Slot) {
        const std::string Name = "Digit" + std::to_string(Slot) + "X";
        F.Slots[Slot] = {F.Display.Left + Integer(Display, Name), F.Display.Top + Y};
    }

    const TFormValue* List = Property(Display, "ImageList");
    const TFormObject& Digits = Child(Form, List ? List->GetText() : "");
    const TFormValue* Strip = Property(Digits, "Bitmap");
    F.Digits.LoadFromResource(Strip ? Strip->GetText() : "");

    for (const TFormObject& Item : Child(Form, "PopupMenu1").Children) {
        const TFormValue* Caption = Property(Item, "Caption");
        F.MenuItems.push_back({Item.Name, Caption ? Caption->GetText() : ""});
    }
    return F;
}

// Whether the cell at Origin of the capture shows Image over every pixel the outline lets
// through.
bool CellShows(const TClockFace& Face, const TBitmap& Client, TPoint Origin, const TBitmap& Image)
{
    for (int Y = 0; Y < Image.GetHeight(); ++Y)
        for (int X = 0; X < Image.GetWidth(); ++X) {
            const TPoint P{Origin.X + X, Origin.Y + Y};
            if (!Face.Outline.Contains(P) || P.X >= Client.GetWidth() || P.Y >= Client.GetHeight())
                continue;
            if (((Client.GetScanLine(P.Y)[P.X] ^ Image.GetScanLine(Y)[X]) & 0xFFFFFF) != 0)
                return false;
        }
    return true;
}

} // namespace

TRegion OutlineOf(const TBitmap& Face)
{
    if (Face.Empty())
        return {};
    return CreateRegionFromBitmap(&Face, Face.GetPixel(0, Face.GetHeight() - 1))
        .value_or(TRegion());
}

const TClockFace& TClockFace::Get()
{
    static const TClockFace Face = Load();
    return Face;
}

std::optional<TClockDigits> ReadDigits(const TClockFace& Face, const TBitmap& Client)
{
    std::vector<TBitmap> Cells(std::size_t(Face.Digits.GetCount()));
    for (int I = 0; I < Face.Digits.GetCount(); ++I)
        Face.Digits.GetBitmap(I, Cells[std::size_t(I)]);
    TClockDigits Digits{};
    for (std::size_t Slot = 0; Slot < Digits.size(); ++Slot) {
        int Found = -1;
        for (int I = 0; I < int(Cells.size()); ++I) {
            if (!CellShows(Face, Client, Face.Slots[Slot], Cells[std::size_t(I)]))
                continue;
            if (Found >= 0)
                return std::nullopt; // two images fit: the cell tells nothing
            Found = I;
        }
        if (Found < 0)
            return std::nullopt;
        Digits[Slot] = Found;
    }
    return Digits;
}

std::optional<TMenuGeometry> MeasureMenu(const TClockFace& Face, const std::string& ItemName)
{
    TMenuItem Root(nullptr);
    int Index = -1;
    for (const TClockFace::TMenuItemText& Text : Face.MenuItems) {
        auto* Item = new TMenuItem(nullptr); // the root takes its nested items with it
        Item->SetCaption(Text.Caption);
        if (Text.Name == ItemName)
            Index = Root.GetCount();
        Root.Add(Item);
    }
    if (Index < 0)
        return std::nullopt;
    TBitmap Measure(1, 1);
    const TMenuLayout Layout(Root, Measure.GetCanvas());
    const TSize Size = Layout.GetSize();
    return TMenuGeometry{{0, 0, Size.Width, Size.Height}, Layout.GetEntry(Index).Bounds};
}

std::optional<int> SecondsOfDay(const TClockDigits& D)
{
    const int Hours = D[0] * 10 + D[1];
    const int Minutes = D[2] * 10 + D[3];
    const int Seconds = D[4] * 10 + D[5];
    for (const int Digit : D)
        if (Digit < 0 || Digit > 9)
            return std::nullopt;
    if (Hours > 23 || Minutes > 59 || Seconds > 59)
        return std::nullopt;
    return Hours * 3600 + Minutes * 60 + Seconds;
}

#include "tests/e2e/ClockFace.h"

#include "base/Exception.h"
#include "framework/graphics/ImageList.h"
#include "framework/objects/FormParser.h"
#include "framework/objects/Resources.h"
#include "framework/stdctrls/MenuItem.h"
#include "framework/stdctrls/MenuLayout.h"
#include "framework/stdctrls/RadioGroup.h"
#include "shaped/RegionFromBitmap.h"

#include <algorithm>
#include <map>
#include <string_view>
#include <utility>

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

// Where a style puts the digits and how large it makes the window. The description itself
// lays out Nixie Large (style 0): its picture, display top and digit places are read there.
struct TStyleLayout
{
    int Picture; // the face's bitmap resource
    TPoint Window;
    int Top; // of the digit display
    std::array<int, 6> DigitX;
    TPoint DigitSize; // 0 x 0: the images' own size
    bool Vfd;
};

constexpr TStyleLayout StyleLayouts[4] = {
    {0, {308, 154}, 0, {}, {0, 0}, false},                             // Nixie Large
    {72, {160, 80}, 24, {5, 27, 55, 76, 103, 124}, {11, 22}, false},   // Nixie Small
    {70, {381, 158}, 63, {88, 120, 177, 206, 267, 294}, {0, 0}, true}, // Vfd Large
    {69, {190, 80}, 31, {45, 57, 88, 103, 131, 146}, {12, 19}, true},  // Vfd Small
};

const TFormObject& Description()
{
    static const TFormObject Form = TFormParser::Parse(TResources::GetText("form", "TForm1"));
    return Form;
}

TClockFace Load(int Style, int Color)
{
    if (Style < 0 || Style > 3)
        throw EResNotFound("No clock style " + std::to_string(Style));
    const TFormObject& Form = Description();
    const TFormObject& Image = Child(Form, "fcImageForm1");
    const TFormObject& Display = Child(Form, "RidivAzoza1");
    TStyleLayout L = StyleLayouts[Style];
    std::string List;
    if (Style == 0) {
        L.Picture = Integer(Image, "Picture");
        L.Top = Integer(Display, "Top");
        for (std::size_t Slot = 0; Slot < L.DigitX.size(); ++Slot)
            L.DigitX[Slot] = Integer(Display, "Digit" + std::to_string(Slot) + "X");
        const TFormValue* Named = Property(Display, "ImageList");
        List = Named ? Named->GetText() : "";
    } else if (L.Vfd && Color >= 0 && Color <= 2) {
        const char* Colours[] = {"ImageListVfdG", "ImageListVfdR", "ImageListVfd"};
        List = Colours[Color];
    } else {
        List = "ImageListNixie";
    }

    TClockFace F;
    F.Window = L.Window;
    F.Face = LoadBitmapResource(L.Picture);
    if (F.Face.Empty())
        throw EResNotFound("Bitmap resource " + std::to_string(L.Picture) + " not found");
    F.Outline = OutlineOf(F.Face);

    F.DigitList = List;
    F.Cells = DigitCells(List, L.DigitSize);
    F.DigitSize =
        F.Cells.empty() ? TPoint{} : TPoint{F.Cells[0].GetWidth(), F.Cells[0].GetHeight()};
    const TPoint Corner{Integer(Display, "Left"), L.Top + Integer(Display, "DigitAllY")};
    for (std::size_t Slot = 0; Slot < F.Slots.size(); ++Slot)
        F.Slots[Slot] = Corner + TPoint{L.DigitX[Slot], 0};
    F.Display = TRect(Corner.X, Corner.Y, Corner.X + L.DigitX.back() + F.DigitSize.X,
                      Corner.Y + F.DigitSize.Y);

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

const TClockFace& TClockFace::Get(int Style, int Color)
{
    static std::map<std::pair<int, int>, TClockFace> Faces;
    auto Found = Faces.find({Style, Color});
    if (Found == Faces.end())
        Found = Faces.emplace(std::pair{Style, Color}, Load(Style, Color)).first;
    return Found->second;
}

std::vector<TBitmap> DigitCells(const std::string& ListName, TPoint Size)
{
    const TFormValue* Strip = Property(Child(Description(), ListName), "Bitmap");
    TImageList List;
    List.LoadFromResource(Strip ? Strip->GetText() : "");
    std::vector<TBitmap> Cells(std::size_t(List.GetCount()));
    for (int I = 0; I < List.GetCount(); ++I) {
        TBitmap Image;
        List.GetBitmap(I, Image);
        if (Size == TPoint{}) {
            Cells[std::size_t(I)] = Image;
            continue;
        }
        TBitmap& Cell = Cells[std::size_t(I)];
        Cell.SetSize(Size.X, Size.Y);
        for (int Y = 0; Y < Size.Y; ++Y)
            for (int X = 0; X < Size.X; ++X)
                Cell.GetScanLine(Y)[X] = Image.GetScanLine(Y * Image.GetHeight() /
                                                           Size.Y)[X * Image.GetWidth() / Size.X];
    }
    return Cells;
}

std::optional<TClockDigits> ReadDigits(const TClockFace& Face, const TBitmap& Client)
{
    return ReadDigits(Face, Face.Cells, Client);
}

std::optional<TClockDigits> ReadDigits(const TClockFace& Face, const std::vector<TBitmap>& Cells,
                                       const TBitmap& Client)
{
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

const TDialogLayout& TDialogLayout::Get(const std::string& FormClass)
{
    static std::map<std::string, TDialogLayout> Layouts;
    auto Found = Layouts.find(FormClass);
    if (Found == Layouts.end()) {
        const TFormObject Form = TFormParser::Parse(TResources::GetText("form", FormClass));
        TDialogLayout L;
        L.FFormClass = FormClass;
        L.FClientSize = {Integer(Form, "ClientWidth"), Integer(Form, "ClientHeight")};
        Found = Layouts.emplace(FormClass, L).first;
    }
    return Found->second;
}

TRect TDialogLayout::Bounds(const std::string& Name, const std::string& Item) const
{
    const TFormObject Form = TFormParser::Parse(TResources::GetText("form", FFormClass));
    const TFormObject& Control = Child(Form, Name);
    const TRect Box = TRect::FromSize(Integer(Control, "Left"), Integer(Control, "Top"),
                                      Integer(Control, "Width"), Integer(Control, "Height"));
    if (Item.empty())
        return Box;
    // A group alone, of the same size, items, columns and font: its cells are the dialog's.
    TRadioGroup Group(nullptr);
    Group.SetBounds(0, 0, Box.Width(), Box.Height());
    std::vector<std::string> Items;
    if (const TFormValue* Strings = Property(Control, "Items.Strings"))
        for (const TFormValue& S : Strings->GetItems())
            Items.push_back(S.GetText());
    Group.SetItems(Items);
    Group.SetColumns(std::max(1, Integer(Control, "Columns")));
    for (const TFormObject* Source : {&Form, &Control})
        if (const TFormValue* Height = Property(*Source, "Font.Height"))
            Group.GetFont().SetHeight(int(Height->GetInteger()));
    const auto At = std::find(Items.begin(), Items.end(), Item);
    if (At == Items.end())
        throw EResNotFound(FFormClass + "." + Name + " has no item " + Item);
    const TRect Cell = Group.GetItemRect(int(At - Items.begin()));
    return Cell.Offset(Box.Left, Box.Top);
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

#include "framework/dialogs/FileDialogForm.h"

#include "framework/dialogs/FolderListing.h"
#include "framework/stdctrls/Button.h"
#include "framework/stdctrls/Edit.h"
#include "framework/stdctrls/Label.h"
#include "framework/stdctrls/ListView.h"
#include "framework/stdctrls/MessageForm.h"

#include <memory>
#include <system_error>

namespace fs = std::filesystem;

namespace {
// The layout of the classic dialog, in pixels for the 8-point dialog font.
constexpr int Margin = 8;
constexpr int ListTop = 54;
constexpr int ListHeight = 150;
constexpr int FolderListWidth = 160;
constexpr int FileListLeft = Margin + FolderListWidth + Margin;
constexpr int FileListWidth = 240;
constexpr int ClientWidth = FileListLeft + FileListWidth + Margin;
constexpr int EditHeight = 21;
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 23;
constexpr int NameTop = ListTop + ListHeight + Margin;
constexpr int ClientHeight = NameTop + 2 * ButtonHeight + 6 + Margin;

// A folder path without the separator that lexically_normal leaves after "..".
fs::path Tidy(fs::path Path)
{
    Path = Path.lexically_normal();
    if (Path.has_relative_path() && Path.filename().empty())
        Path = Path.parent_path();
    return Path;
}

char32_t FoldedLetter(char32_t C)
{
    return C >= 'A' && C <= 'Z' ? C - 'A' + 'a' : C;
}

// The first character of a UTF-8 name (U+FFFD for a broken one).
char32_t FirstCharacter(const std::string& Name)
{
    if (Name.empty())
        return 0;
    const auto B = [&](std::size_t I) { return I < Name.size() ? char32_t(Name[I] & 0x3F) : 0; };
    const unsigned char Lead = static_cast<unsigned char>(Name[0]);
    if (Lead < 0x80)
        return Lead;
    if ((Lead & 0xE0) == 0xC0)
        return char32_t(Lead & 0x1F) << 6 | B(1);
    if ((Lead & 0xF0) == 0xE0)
        return char32_t(Lead & 0x0F) << 12 | B(1) << 6 | B(2);
    if ((Lead & 0xF8) == 0xF0)
        return char32_t(Lead & 0x07) << 18 | B(1) << 12 | B(2) << 6 | B(3);
    return 0xFFFD;
}

TLabel* MakeLabel(TForm* Form, const std::string& Caption, int X, int Y)
{
    auto* L = new TLabel(Form);
    L->SetCaption(Caption);
    L->SetLeft(X);
    L->SetTop(Y);
    L->SetParent(Form);
    return L;
}
} // namespace

TFileDialogForm::TFileDialogForm(TComponent* AOwner, bool Save, const std::string& Title)
    : TForm(AOwner), FSave(Save)
{
    SetBorderStyle(bsDialog);
    SetPosition(poMainFormCenter);
    SetCaption(!Title.empty() ? Title : Save ? "Save As" : "Open");
    Build();
}

TFileDialogForm::~TFileDialogForm() = default;

void TFileDialogForm::Build()
{
    MakeLabel(this, "Look in:", Margin, Margin + 4);
    FPathBox = new TEdit(this);
    FPathBox->SetBounds(64, Margin, ClientWidth - 64 - Margin, EditHeight);
    FPathBox->SetReadOnly(true);
    FPathBox->SetTabStop(false);
    FPathBox->SetParent(this);

    MakeLabel(this, "Folders:", Margin, ListTop - 16);
    MakeLabel(this, "Files:", FileListLeft, ListTop - 16);
    FFolderList = MakeList(TRect::FromSize(Margin, ListTop, FolderListWidth, ListHeight), 2);
    FFileList = MakeList(TRect::FromSize(FileListLeft, ListTop, FileListWidth, ListHeight), 1);
    FFileList->OnSelectItem = [this](TObject*, TListItem* Item, bool Selected) {
        if (Selected)
            FFileNameBox->SetText(Item->GetCaption());
    };

    MakeLabel(this, "File name:", Margin, NameTop + 4);
    FFileNameBox = new TEdit(this);
    const int ButtonLeft = ClientWidth - Margin - ButtonWidth;
    FFileNameBox->SetBounds(72, NameTop, ButtonLeft - Margin - 72, EditHeight);
    FFileNameBox->SetTabOrder(0);
    FFileNameBox->SetParent(this);

    FOkButton = new TButton(this);
    FOkButton->SetCaption(FSave ? "Save" : "Open");
    FOkButton->SetBounds(ButtonLeft, NameTop - 1, ButtonWidth, ButtonHeight);
    FOkButton->SetDefault(true);
    FOkButton->SetTabOrder(3);
    FOkButton->OnClick = [this](TObject*) { Accept(); };
    FOkButton->SetParent(this);
    FCancelButton = new TButton(this);
    FCancelButton->SetCaption("Cancel");
    FCancelButton->SetBounds(ButtonLeft, NameTop - 1 + ButtonHeight + 6, ButtonWidth, ButtonHeight);
    FCancelButton->SetCancel(true);
    FCancelButton->SetModalResult(mrCancel);
    FCancelButton->SetTabOrder(4);
    FCancelButton->SetParent(this);

    SetClientWidth(ClientWidth);
    SetClientHeight(ClientHeight);
    HandleNeeded(); // the frame is known now, so the dialog centres by its real size
}

TListView* TFileDialogForm::MakeList(const TRect& Bounds, int TabOrder)
{
    auto* List = new TListView(this);
    List->SetShowColumnHeaders(false);
    List->SetBounds(Bounds.Left, Bounds.Top, Bounds.Width(), Bounds.Height());
    List->GetColumns()->Add()->SetWidth(Bounds.Width());
    List->SetTabOrder(TabOrder);
    List->OnKeyDown = [this, List](TObject*, unsigned& Key, TShiftState) {
        ListKeyDown(*List, Key);
    };
    List->OnKeyPress = [this, List](TObject*, char32_t& Key) { FindByLetter(*List, Key); };
    // The double click acts once the button is up, so that the list it fills or the dialog it
    // ends no longer holds the mouse.
    auto Doubled = std::make_shared<int>(-1);
    List->OnMouseDown = [List, Doubled](TObject*, TMouseButton Button, TShiftState Shift, int X,
                                        int Y) {
        *Doubled = Button == TMouseButton::Left && (Shift & ssDouble) ? List->ItemAt({X, Y}) : -1;
    };
    List->OnMouseUp = [this, List, Doubled](TObject*, TMouseButton Button, TShiftState, int, int) {
        if (Button != TMouseButton::Left || *Doubled < 0)
            return;
        List->SetItemIndex(*Doubled);
        *Doubled = -1;
        unsigned Enter = VK_RETURN;
        ListKeyDown(*List, Enter);
    };
    List->SetParent(this);
    return List;
}

// ---- Folders --------------------------------------------------------------------------------

void TFileDialogForm::Start(const std::string& Folder, const std::string& FileName)
{
    const fs::path Name = TFolderListing::ToPath(FileName);
    std::vector<fs::path> Candidates;
    if (Name.is_absolute() && Name.has_parent_path())
        Candidates.push_back(Name.parent_path());
    if (!Folder.empty())
        Candidates.push_back(TFolderListing::ToPath(Folder));
    std::error_code Code;
    const fs::path Current = fs::current_path(Code);
    if (!Code) {
        Candidates.push_back(Current);
        Candidates.push_back(Current.root_path());
    }
    std::string Error;
    for (const fs::path& C : Candidates)
        if (ShowFolder(TFolderListing::ToText(C), Error))
            break;
    // A name in the folder shown goes in the box without its folder.
    const bool InFolder =
        Name.has_parent_path() && Tidy(Name.parent_path()) == Tidy(TFolderListing::ToPath(FFolder));
    FFileNameBox->SetText(InFolder ? TFolderListing::ToText(Name.filename()) : FileName);
}

bool TFileDialogForm::ShowFolder(const std::string& Folder, std::string& Error)
{
    fs::path Path = TFolderListing::ToPath(Folder);
    if (Path.is_relative() && !FFolder.empty())
        Path = TFolderListing::ToPath(FFolder) / Path;
    Path = Tidy(Path);
    const std::optional<TFolderListing> Listing =
        TFolderListing::Read(TFolderListing::ToText(Path), Error);
    if (!Listing)
        return false;
    FFolder = TFolderListing::ToText(Path);
    FPathBox->SetText(FFolder);
    const auto Fill = [](TListView* List, const std::vector<std::string>& Names, bool Up) {
        TListItems& Items = *List->GetItems();
        Items.BeginUpdate();
        Items.Clear();
        if (Up)
            Items.Add()->SetCaption("..");
        for (const std::string& N : Names)
            Items.Add()->SetCaption(N);
        Items.EndUpdate();
        List->SetTopIndex(0);
    };
    Fill(FFolderList, Listing->Folders, Path.has_relative_path());
    Fill(FFileList, Listing->Files, false);
    return true;
}

bool TFileDialogForm::ChangeFolder(const std::string& Folder)
{
    std::string Error;
    if (ShowFolder(Folder, Error))
        return true;
    Ask(Folder + " is not accessible.\n\n" + Error, MB_OK | MB_ICONSTOP);
    return false;
}

void TFileDialogForm::GoUp()
{
    const fs::path Here = TFolderListing::ToPath(FFolder);
    if (!Here.has_relative_path())
        return;
    const std::string Left = TFolderListing::ToText(Here.filename());
    if (!ChangeFolder(TFolderListing::ToText(Here.parent_path())))
        return;
    // The folder just left is selected, so Enter goes back into it.
    TListItems& Items = *FFolderList->GetItems();
    for (int I = 0; I < Items.GetCount(); ++I)
        if (Items[I]->GetCaption() == Left) {
            FFolderList->SetItemIndex(I);
            FFolderList->MakeRowVisible(I, false);
            break;
        }
}

void TFileDialogForm::EnterFolder(const std::string& Name)
{
    if (Name == "..")
        GoUp();
    else
        ChangeFolder(
            TFolderListing::ToText(TFolderListing::ToPath(FFolder) / TFolderListing::ToPath(Name)));
}

// ---- Choosing -------------------------------------------------------------------------------

void TFileDialogForm::Accept()
{
    std::string Typed = FFileNameBox->GetText();
    // Windows takes a name in quotes as the name inside them.
    if (Typed.size() >= 2 && Typed.front() == '"' && Typed.back() == '"')
        Typed = Typed.substr(1, Typed.size() - 2);
    if (Typed.find_first_not_of(' ') == std::string::npos)
        return;
    const fs::path Path = (TFolderListing::ToPath(FFolder) / TFolderListing::ToPath(Typed))
                              .lexically_normal(); // an absolute name replaces the folder
    std::error_code Code;
    if (fs::is_directory(Path, Code)) {
        if (ChangeFolder(TFolderListing::ToText(Path)))
            FFileNameBox->SetText({});
        return;
    }
    Choose(TFolderListing::ToText(Path), Typed);
}

void TFileDialogForm::Choose(const std::string& Chosen, const std::string& Typed)
{
    const fs::path Path = TFolderListing::ToPath(Chosen);
    std::error_code Code;
    if (!FSave && !fs::exists(Path, Code)) {
        Ask(Typed + "\nFile not found.\nCheck the file name and try again.",
            MB_OK | MB_ICONWARNING);
        ReturnToNameBox();
        return;
    }
    if (FSave && (!Path.has_filename() || !fs::is_directory(Path.parent_path(), Code))) {
        Ask(Typed + "\nPath does not exist.\nCheck the path and try again.",
            MB_OK | MB_ICONWARNING);
        ReturnToNameBox();
        return;
    }
    // Replacing a file loses it: No, the safe answer, is the default.
    if (FSave && fs::exists(Path, Code) &&
        Ask(TFolderListing::ToText(Path.filename()) +
                " already exists.\nDo you want to replace it?",
            MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES) {
        ReturnToNameBox();
        return;
    }
    FChosenPath = Chosen;
    SetModalResult(mrOk);
}

int TFileDialogForm::Ask(const std::string& Text, unsigned Flags)
{
    return TMessageForm::Execute(Text, GetCaption(), Flags);
}

void TFileDialogForm::ReturnToNameBox()
{
    if (FFileNameBox->CanFocus())
        FFileNameBox->SetFocus();
    FFileNameBox->SelectAll();
}

// ---- Keys -----------------------------------------------------------------------------------

void TFileDialogForm::ListKeyDown(TListView& List, unsigned& Key)
{
    if (Key == VK_BACK) {
        Key = 0;
        GoUp();
        return;
    }
    // Enter with nothing selected is the Open button's.
    if (Key != VK_RETURN || !List.GetSelected())
        return;
    Key = 0;
    const std::string Name = List.GetSelected()->GetCaption();
    if (&List == FFolderList)
        EnterFolder(Name);
    else
        Choose(
            TFolderListing::ToText(TFolderListing::ToPath(FFolder) / TFolderListing::ToPath(Name)),
            Name);
}

void TFileDialogForm::FindByLetter(TListView& List, char32_t& Key)
{
    if (Key < 0x20 || Key == 0x7F)
        return;
    const char32_t Letter = FoldedLetter(Key);
    Key = 0;
    // The next name with that letter after the selected one, round to the top, as Windows does.
    const int Count = List.GetItems()->GetCount();
    for (int Step = 1; Step <= Count; ++Step) {
        const int I = (List.GetItemIndex() + Step + Count) % Count;
        if (FoldedLetter(FirstCharacter((*List.GetItems())[I]->GetCaption())) == Letter) {
            List.SetItemIndex(I);
            List.MakeRowVisible(I, false);
            return;
        }
    }
}

void TFileDialogForm::VisibleChanged()
{
    TForm::VisibleChanged();
    if (GetVisible())
        ReturnToNameBox();
}

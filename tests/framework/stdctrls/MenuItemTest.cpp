#include "framework/stdctrls/MenuItem.h"

#include "base/Exception.h"
#include "framework/objects/ClassRegistry.h"
#include "framework/objects/FormReader.h"
#include "framework/objects/FormWriter.h"
#include "framework/stdctrls/MenuLayout.h"
#include "framework/stdctrls/PopupMenu.h"
#include "tests/support/CaseName.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

std::vector<std::string> GClicks;

std::string NameOf(TObject* Sender)
{
    auto* C = dynamic_cast<TComponent*>(Sender);
    return C ? C->GetName() : "?";
}

// A form-like root with the handlers the clock's menu names.
class TMenuHostForm : public TComponent
{
    PUBLISHED_CLASS(TMenuHostForm, TComponent)

    explicit TMenuHostForm(TComponent* AOwner = nullptr) : TComponent(AOwner) {}
    void Settings1Click(TObject* Sender) { GClicks.push_back("Settings1Click " + NameOf(Sender)); }
    void Quit1Click(TObject* Sender) { GClicks.push_back("Quit1Click " + NameOf(Sender)); }
    void PopupMenu1Popup(TObject* Sender) { GClicks.push_back("Popup " + NameOf(Sender)); }

    static void DeclareClass(TClassDeclaration<TMenuHostForm>& D)
    {
        D.RegisterMethod("Settings1Click", &TMenuHostForm::Settings1Click);
        D.RegisterMethod("Quit1Click", &TMenuHostForm::Quit1Click);
        D.RegisterMethod("PopupMenu1Popup", &TMenuHostForm::PopupMenu1Popup);
    }
};

class MenuItemTest : public testing::Test
{
protected:
    void SetUp() override
    {
        RegisterMenuClasses();
        RegisterClass<TMenuHostForm>();
        GClicks.clear();
    }

    TMenuItem* NewItem(const std::string& Name)
    {
        auto* I = new TMenuItem(&Owner);
        I->SetName(Name);
        return I;
    }

    static std::vector<std::string> Names(const TMenuItem& Parent)
    {
        std::vector<std::string> Result;
        for (int I = 0; I < Parent.GetCount(); ++I)
            Result.push_back(Parent.GetItem(I)->GetName());
        return Result;
    }

    TComponent Owner{nullptr};
};

// Random Add, Insert, Delete and Remove calls against a plain list of names, including the ones
// that must fail (a bad index, an item already placed): the list must match the model after each.
TEST_F(MenuItemTest, NestedItemListFollowsAModelUnderRandomEdits)
{
    for (unsigned Seed = 1; Seed <= 20; ++Seed) {
        std::mt19937 Random(Seed);
        TMenuItem* Parent = NewItem("P" + std::to_string(Seed));
        std::vector<TMenuItem*> Pool;
        for (int I = 0; I < 6; ++I)
            Pool.push_back(NewItem("S" + std::to_string(Seed) + "_" + std::to_string(I)));
        std::vector<std::string> Model;
        for (int Step = 0; Step < 60; ++Step) {
            TMenuItem* Item = Pool[Random() % Pool.size()];
            const bool Placed =
                std::find(Model.begin(), Model.end(), Item->GetName()) != Model.end();
            const int Index = int(Random() % (Model.size() + 2)) - 1; // -1 .. size
            switch (Random() % 4) {
            case 0:
                if (Placed) {
                    EXPECT_THROW(Parent->Add(Item), EComponentError);
                } else {
                    Parent->Add(Item);
                    Model.push_back(Item->GetName());
                }
                break;
            case 1:
                if (Placed || Index < 0) {
                    EXPECT_THROW(Parent->Insert(Index, Item), EComponentError);
                } else {
                    Parent->Insert(Index, Item);
                    Model.insert(Model.begin() + Index, Item->GetName());
                }
                break;
            case 2:
                if (Index < 0 || Index >= int(Model.size())) {
                    EXPECT_THROW(Parent->Delete(Index), EComponentError);
                } else {
                    Parent->Delete(Index);
                    Model.erase(Model.begin() + Index);
                }
                break;
            default:
                if (!Placed) {
                    EXPECT_THROW(Parent->Remove(Item), EComponentError);
                } else {
                    Parent->Remove(Item);
                    std::erase(Model, Item->GetName());
                }
                break;
            }
            ASSERT_EQ(Names(*Parent), Model) << "seed " << Seed << " step " << Step;
            for (TMenuItem* P : Pool)
                ASSERT_EQ(P->GetParent() == Parent, Parent->IndexOf(P) >= 0);
        }
    }
}

TEST_F(MenuItemTest, AnItemCannotBeNestedInsideItselfOrTwice)
{
    TMenuItem* A = NewItem("A");
    TMenuItem* B = NewItem("B");
    TMenuItem* C = NewItem("C");
    A->Add(B);
    B->Add(C);
    EXPECT_THROW(C->Add(A), EComponentError);
    EXPECT_THROW(B->Add(B), EComponentError);
    EXPECT_THROW(A->Add(C), EComponentError); // still in B
    EXPECT_THROW(A->Add(nullptr), EComponentError);
    TPopupMenu Menu(&Owner);
    EXPECT_THROW(A->Add(Menu.GetItems()), EComponentError);
    EXPECT_EQ(Names(*A), (std::vector<std::string>{"B"}));
    EXPECT_EQ(Names(*B), (std::vector<std::string>{"C"}));
}

TEST_F(MenuItemTest, DestroyingAnItemTakesItsNestedItemsAndLeavesItsParent)
{
    TMenuItem* Top = NewItem("Top");
    TMenuItem* Mid = NewItem("Mid");
    TMenuItem* Leaf1 = NewItem("Leaf1");
    TMenuItem* Leaf2 = NewItem("Leaf2");
    Top->Add(Mid);
    Mid->Add(Leaf1);
    Mid->Add(Leaf2);
    ASSERT_EQ(Owner.GetComponentCount(), 4);
    delete Leaf1;
    EXPECT_EQ(Names(*Mid), (std::vector<std::string>{"Leaf2"}));
    delete Mid;
    EXPECT_EQ(Top->GetCount(), 0);
    EXPECT_EQ(Owner.GetComponentCount(), 1); // Leaf2 went with Mid
    EXPECT_EQ(Owner.FindComponent("Leaf2"), nullptr);
}

TEST_F(MenuItemTest, AnOwnerDestroysItemsNestedInEitherOrderOnce)
{
    // Parents created after their children and before: whichever goes first takes the others.
    auto Holder = std::make_unique<TComponent>(nullptr);
    auto* Child = new TMenuItem(Holder.get());
    auto* Parent = new TMenuItem(Holder.get());
    auto* Grandchild = new TMenuItem(Holder.get());
    Parent->Add(Child);
    Child->Add(Grandchild);
    TPopupMenu* Menu = new TPopupMenu(Holder.get());
    auto* Top = new TMenuItem(Holder.get());
    Menu->GetItems()->Add(Top);
    Menu->GetItems()->Add(new TMenuItem(Holder.get()));
    EXPECT_EQ(Holder->GetComponentCount(), 6);
    delete Menu; // takes its two items
    EXPECT_EQ(Holder->GetComponentCount(), 3);
    EXPECT_NO_THROW(Holder.reset());
}

TEST_F(MenuItemTest, ClickRunsOnClickOnlyWhenEnabled)
{
    TMenuItem* Item = NewItem("Quit1");
    int Clicks = 0;
    TObject* Sender = nullptr;
    Item->OnClick = [&](TObject* S) {
        ++Clicks;
        Sender = S;
    };
    Item->Click();
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(Sender, Item);
    Item->SetEnabled(false);
    Item->Click();
    EXPECT_EQ(Clicks, 1);
}

TEST_F(MenuItemTest, ParentComponentIsTheMenuForTopLevelItemsAndTheItemBelow)
{
    TPopupMenu* Menu = new TPopupMenu(&Owner);
    TMenuItem* Top = NewItem("Top");
    TMenuItem* Sub = NewItem("Sub");
    Menu->GetItems()->Add(Top);
    Top->Add(Sub);
    EXPECT_EQ(Menu->GetItems()->GetRootMenu(), Menu);
    EXPECT_EQ(Top->GetParentComponent(), Menu);
    EXPECT_EQ(Sub->GetParentComponent(), Top);
    EXPECT_EQ(Top->GetRootMenu(), nullptr);
    // Placing by parent component moves an item from where it was.
    Sub->SetParentComponent(Menu);
    EXPECT_EQ(Names(*Menu->GetItems()), (std::vector<std::string>{"Top", "Sub"}));
    EXPECT_EQ(Top->GetCount(), 0);
}

TEST_F(MenuItemTest, PopupComponentIsForgottenWhenItIsDestroyed)
{
    TPopupMenu Menu(nullptr);
    auto* Other = new TComponent(&Owner);
    Menu.SetPopupComponent(Other);
    EXPECT_EQ(Menu.GetPopupComponent(), Other);
    delete Other;
    EXPECT_EQ(Menu.GetPopupComponent(), nullptr);
    // And when it shares the menu's owner.
    auto* Menu2 = new TPopupMenu(&Owner);
    auto* Sibling = new TComponent(&Owner);
    Menu2->SetPopupComponent(Sibling);
    delete Sibling;
    EXPECT_EQ(Menu2->GetPopupComponent(), nullptr);
}

struct TCaptionCase
{
    const char* Caption;
    const char* Text;
    char32_t Key;
    std::size_t Offset;
    std::size_t Length;
};

class MenuCaption : public testing::TestWithParam<TCaptionCase>
{};

TEST_P(MenuCaption, StripsMarksAndFindsTheAccessKey)
{
    const TCaptionCase& C = GetParam();
    const TMenuCaption R = ParseMenuCaption(C.Caption);
    EXPECT_EQ(R.Text, C.Text);
    EXPECT_EQ(R.AccessKey, C.Key);
    if (C.Key) {
        EXPECT_EQ(R.AccessOffset, C.Offset);
        EXPECT_EQ(R.AccessLength, C.Length);
    } else {
        EXPECT_EQ(R.AccessLength, 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, MenuCaption,
    testing::Values(TCaptionCase{"Settings", "Settings", 0, 0, 0},
                    TCaptionCase{"&Settings", "Settings", U's', 0, 1},
                    TCaptionCase{"Q&uit", "Quit", U'u', 1, 1},
                    TCaptionCase{"Users &Manual", "Users Manual", U'm', 6, 1},
                    TCaptionCase{"Fish && Chips", "Fish & Chips", 0, 0, 0},
                    TCaptionCase{"&&&Both", "&Both", U'b', 1, 1},
                    TCaptionCase{"&A&B", "AB", U'a', 0, 1}, TCaptionCase{"Tail&", "Tail", 0, 0, 0},
                    TCaptionCase{"&&", "&", 0, 0, 0}, TCaptionCase{"&9 Nine", "9 Nine", U'9', 0, 1},
                    TCaptionCase{"\xC3\xA9&\xC3\x89t\xC3\xA9", "\xC3\xA9\xC3\x89t\xC3\xA9",
                                 U'\u00C9', 2, 2},
                    TCaptionCase{"Cut&\xE2\x82\xAC", "Cut\xE2\x82\xAC", U'\u20AC', 3, 3},
                    // A truncated sequence after the mark is kept inside the caption.
                    TCaptionCase{"X&\xE2\x82", "X\xE2\x82", 0, 0, 0},
                    TCaptionCase{"&\x80x", "\x80x", 0, 0, 0},
                    TCaptionCase{"&\xC0\x80", "\xC0\x80", 0, 0, 0}, TCaptionCase{"-", "-", 0, 0, 0},
                    TCaptionCase{"", "", 0, 0, 0}),
    [](const testing::TestParamInfo<TCaptionCase>& I) { return NumberedName(I, I.param.Caption); });

// The clock's menu as the main window's description holds it, with the item states a
// description can set; reading and writing it back gives the same text.
const char* const ClockMenu = "object Form1: TMenuHostForm\n"
                              "  object PopupMenu1: TPopupMenu\n"
                              "    OnPopup = PopupMenu1Popup\n"
                              "    object Settings1: TMenuItem\n"
                              "      Caption = 'Settings'\n"
                              "      Default = True\n"
                              "      OnClick = Settings1Click\n"
                              "    end\n"
                              "    object Quit1: TMenuItem\n"
                              "      Caption = 'Quit'\n"
                              "      OnClick = Quit1Click\n"
                              "    end\n"
                              "    object N1: TMenuItem\n"
                              "      Caption = '-'\n"
                              "    end\n"
                              "    object UsersManual1: TMenuItem\n"
                              "      Caption = 'Users Manual'\n"
                              "      Checked = True\n"
                              "      object Chapter1: TMenuItem\n"
                              "        Caption = '&Chapter'\n"
                              "        Enabled = False\n"
                              "      end\n"
                              "    end\n"
                              "    object N2: TMenuItem\n"
                              "      Caption = '-'\n"
                              "      Visible = False\n"
                              "    end\n"
                              "    object About1: TMenuItem\n"
                              "      Caption = 'About'\n"
                              "    end\n"
                              "  end\n"
                              "  object PopupMenu2: TPopupMenu\n"
                              "    AutoPopup = False\n"
                              "  end\n"
                              "end\n";

TEST_F(MenuItemTest, ADescriptionWithNestedItemsReadsAndWritesBack)
{
    std::unique_ptr<TComponent> Form(TFormReader::ReadComponent(ClockMenu, nullptr));
    auto* Menu = dynamic_cast<TPopupMenu*>(Form->FindComponent("PopupMenu1"));
    ASSERT_NE(Menu, nullptr);
    EXPECT_EQ(Names(*Menu->GetItems()), (std::vector<std::string>{"Settings1", "Quit1", "N1",
                                                                  "UsersManual1", "N2", "About1"}));
    TMenuItem* Manual = Menu->GetItems()->GetItem(3);
    EXPECT_EQ(Names(*Manual), (std::vector<std::string>{"Chapter1"}));
    EXPECT_FALSE(Manual->GetItem(0)->GetEnabled());
    EXPECT_TRUE(Manual->GetChecked());
    EXPECT_TRUE(Menu->GetItems()->GetItem(0)->GetDefault());
    EXPECT_TRUE(Menu->GetItems()->GetItem(2)->IsLine());
    EXPECT_FALSE(Menu->GetItems()->GetItem(4)->GetVisible());
    EXPECT_TRUE(Menu->GetAutoPopup());
    EXPECT_FALSE(dynamic_cast<TPopupMenu*>(Form->FindComponent("PopupMenu2"))->GetAutoPopup());

    Menu->OnPopup(Menu);
    Menu->GetItems()->GetItem(0)->Click();
    Menu->GetItems()->GetItem(1)->Click();
    Menu->GetItems()->GetItem(5)->Click(); // no handler
    EXPECT_EQ(GClicks, (std::vector<std::string>{"Popup PopupMenu1", "Settings1Click Settings1",
                                                 "Quit1Click Quit1"}));

    EXPECT_EQ(TFormWriter::WriteComponent(*Form), ClockMenu);
}

TEST_F(MenuItemTest, ItemsMovedInCodeAreWrittenInMenuOrder)
{
    std::unique_ptr<TComponent> Form(TFormReader::ReadComponent(ClockMenu, nullptr));
    auto* Menu = dynamic_cast<TPopupMenu*>(Form->FindComponent("PopupMenu1"));
    TMenuItem* About = Menu->GetItems()->GetItem(5);
    Menu->GetItems()->Remove(About);
    Menu->GetItems()->Insert(0, About);
    std::unique_ptr<TComponent> Again(
        TFormReader::ReadComponent(TFormWriter::WriteComponent(*Form), nullptr));
    auto* Menu2 = dynamic_cast<TPopupMenu*>(Again->FindComponent("PopupMenu1"));
    EXPECT_EQ(Names(*Menu2->GetItems()), (std::vector<std::string>{"About1", "Settings1", "Quit1",
                                                                   "N1", "UsersManual1", "N2"}));
}

} // namespace

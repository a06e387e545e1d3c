#include "framework/objects/Component.h"

#include "base/Exception.h"
#include "tests/framework/objects/StreamingTestClasses.h"
#include "tests/support/CaseName.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

// Records every notification it receives, as "insert X" / "remove X".
class TWatcher : public TComponent
{
public:
    using TComponent::TComponent;
    std::vector<std::string> Seen;
    bool SawDestroying = false;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        TComponent::Notification(AComponent, Operation);
        if (AComponent == this)
            return;
        Seen.push_back((Operation == opInsert ? "insert " : "remove ") + AComponent->GetName());
        if (Operation == opRemove && AComponent->IsDestroying())
            SawDestroying = true;
    }
};

TTestItem* Named(TComponent* Owner, const std::string& Name)
{
    auto* Item = new TTestItem(Owner);
    Item->SetName(Name);
    return Item;
}

} // namespace

TEST(Component, OwnsItsComponentsInCreationOrderAndDestroysThemLastFirst)
{
    TestLog().clear();
    const int Before = TTestItem::LiveCount();
    {
        TComponent Owner(nullptr);
        Named(&Owner, "A");
        Named(&Owner, "B");
        Named(&Owner, "C");
        ASSERT_EQ(Owner.GetComponentCount(), 3);
        EXPECT_EQ(Owner.GetComponent(0)->GetName(), "A");
        EXPECT_EQ(Owner.GetComponent(2)->GetName(), "C");
        EXPECT_EQ(Owner.GetComponent(1)->GetComponentIndex(), 1);
        EXPECT_EQ(Owner.GetComponent(1)->GetOwner(), &Owner);
        EXPECT_EQ(TTestItem::LiveCount(), Before + 3);
        EXPECT_THROW(Owner.GetComponent(3), EComponentError);
        EXPECT_THROW(Owner.GetComponent(-1), EComponentError);
    }
    EXPECT_EQ(TTestItem::LiveCount(), Before);
    EXPECT_EQ(TestLog(), (std::vector<std::string>{"C:Destroy", "B:Destroy", "A:Destroy"}));
}

TEST(Component, NestedOwnershipDiesWithTheTopOwner)
{
    const int Before = TTestItem::LiveCount();
    {
        TComponent Root(nullptr);
        TTestItem* Middle = Named(&Root, "Middle");
        Named(Middle, "Leaf1");
        TTestItem* Leaf2 = Named(Middle, "Leaf2");
        Named(Leaf2, "Deep");
        EXPECT_EQ(TTestItem::LiveCount(), Before + 4);
    }
    EXPECT_EQ(TTestItem::LiveCount(), Before);
}

TEST(Component, DeletingAnOwnedComponentTakesItOutOfItsOwnerAndTellsTheOthers)
{
    TComponent Owner(nullptr);
    auto* W = new TWatcher(&Owner);
    // Named before insertion, so that the insert notification can name them.
    TTestItem* A = Named(nullptr, "A");
    Owner.InsertComponent(A);
    Owner.InsertComponent(Named(nullptr, "B"));
    delete A;
    ASSERT_EQ(Owner.GetComponentCount(), 2);
    EXPECT_EQ(Owner.FindComponent("A"), nullptr);
    EXPECT_EQ(Owner.GetComponent(1)->GetName(), "B");
    EXPECT_EQ(W->Seen, (std::vector<std::string>{"insert A", "insert B", "remove A"}));
    EXPECT_TRUE(W->SawDestroying);
}

TEST(Component, NotificationsReachComponentsOwnedByTheOwnersComponents)
{
    TComponent Owner(nullptr);
    TTestItem* Panel = Named(&Owner, "Panel");
    auto* Inner = new TWatcher(Panel);
    TTestItem* Button = Named(&Owner, "Button");
    delete Button;
    EXPECT_EQ(Inner->Seen, (std::vector<std::string>{"insert ", "remove Button"}));
}

TEST(Component, FreeNotificationClearsAReferenceAcrossOwners)
{
    TComponent FormA(nullptr);
    TComponent FormB(nullptr);
    TTestItem* User = Named(&FormA, "User");
    TTestItem* Target = Named(&FormB, "Target");
    User->SetBuddy(Target);
    delete Target;
    EXPECT_EQ(User->GetBuddy(), nullptr);

    // The observer dying first leaves no link behind in the observed one.
    TTestItem* Target2 = Named(&FormB, "Target2");
    User->SetBuddy(Target2);
    delete User;
    delete Target2; // would notify the dead observer if the link had survived
    EXPECT_EQ(FormB.GetComponentCount(), 0);
}

TEST(Component, SiblingReferencesAreClearedThroughTheOwner)
{
    TComponent Form(nullptr);
    TTestItem* A = Named(&Form, "A");
    TTestItem* B = Named(&Form, "B");
    A->SetBuddy(B);
    B->SetBuddy(A);
    delete B;
    EXPECT_EQ(A->GetBuddy(), nullptr);
}

TEST(Component, InsertComponentMovesOwnershipAndRemoveComponentReleases)
{
    TComponent A(nullptr);
    TComponent B(nullptr);
    TTestItem* Item = Named(&A, "Item");
    B.InsertComponent(Item);
    EXPECT_EQ(Item->GetOwner(), &B);
    EXPECT_EQ(A.GetComponentCount(), 0);
    EXPECT_EQ(B.FindComponent("item"), Item);
    B.RemoveComponent(Item);
    EXPECT_EQ(Item->GetOwner(), nullptr);
    EXPECT_EQ(Item->GetComponentIndex(), -1);
    delete Item;
}

TEST(Component, InsertingUnderAClashingNameLeavesTheComponentWhereItWas)
{
    TComponent A(nullptr);
    TComponent B(nullptr);
    TTestItem* Item = Named(&A, "Same");
    Named(&B, "SAME");
    EXPECT_THROW(B.InsertComponent(Item), EComponentError);
    EXPECT_EQ(Item->GetOwner(), &A);
    EXPECT_EQ(B.GetComponentCount(), 1);
}

TEST(Component, AComponentCannotOwnItselfOrItsOwner)
{
    TComponent Top(nullptr);
    TTestItem* Child = Named(&Top, "Child");
    EXPECT_THROW(Child->InsertComponent(Child), EComponentError);
    EXPECT_THROW(Child->InsertComponent(&Top), EComponentError);
    EXPECT_EQ(Child->GetOwner(), &Top);
}

struct TNameCase
{
    const char* Name;
    bool Valid;
};

class ComponentName : public testing::TestWithParam<TNameCase>
{};

TEST_P(ComponentName, IsAnIdentifierOrEmpty)
{
    TTestItem Item(nullptr);
    if (GetParam().Valid) {
        EXPECT_NO_THROW(Item.SetName(GetParam().Name));
        EXPECT_EQ(Item.GetName(), GetParam().Name);
    } else {
        Item.SetName("Before");
        EXPECT_THROW(Item.SetName(GetParam().Name), EComponentError);
        EXPECT_EQ(Item.GetName(), "Before");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Names, ComponentName,
    testing::Values(TNameCase{"", true}, TNameCase{"Form1", true}, TNameCase{"_x", true},
                    TNameCase{"a_1_B", true}, TNameCase{"1Form", false}, TNameCase{"Form 1", false},
                    TNameCase{"Form.1", false}, TNameCase{"Fö", false}, TNameCase{"-", false}),
    [](const testing::TestParamInfo<TNameCase>& I) { return NumberedName(I, I.param.Name); });

TEST(Component, NamesAreUniqueAmongSiblingsWithoutRegardToCase)
{
    TComponent Owner(nullptr);
    TTestItem* A = Named(&Owner, "Button1");
    TTestItem* B = Named(&Owner, "Button2");
    EXPECT_THROW(B->SetName("BUTTON1"), EComponentError);
    EXPECT_EQ(B->GetName(), "Button2");
    EXPECT_NO_THROW(A->SetName("button1")); // a change of case only
    EXPECT_EQ(Owner.FindComponent("BUTTON1"), A);
    // Any number of siblings may be unnamed, and an empty name finds nothing.
    Named(&Owner, "");
    Named(&Owner, "");
    EXPECT_EQ(Owner.FindComponent(""), nullptr);
    // Other owners' names do not clash.
    TComponent Other(nullptr);
    EXPECT_NO_THROW(Named(&Other, "Button1"));
}

TEST(Component, DesigningReachesComponentsOwnedLater)
{
    TComponent Form(nullptr);
    Form.SetDesigning(true);
    TTestItem* Item = Named(&Form, "Item");
    TTestItem* Inner = Named(Item, "Inner");
    EXPECT_TRUE(Item->IsDesigning());
    EXPECT_TRUE(Inner->IsDesigning());
    Form.SetDesigning(false);
    EXPECT_FALSE(Inner->IsDesigning());
    EXPECT_FALSE(Form.IsLoading());
}

TEST(Component, DestroyComponentsEmptiesTheOwnerAndTellsWhoIsLeft)
{
    TComponent Owner(nullptr);
    auto* Survivor = new TWatcher(nullptr);
    TTestItem* A = Named(&Owner, "A");
    A->SetBuddy(nullptr);
    Survivor->FreeNotification(A);
    Owner.DestroyComponents();
    EXPECT_EQ(Owner.GetComponentCount(), 0);
    EXPECT_EQ(Survivor->Seen, (std::vector<std::string>{"remove A"}));
    delete Survivor;
}

TEST(Persistent, AssignCopiesBetweenFittingClassesAndRefusesOthers)
{
    TTestFont A;
    A.Name = "Tahoma";
    A.Size = 9;
    A.Style = {fsBold};
    TTestFont B;
    B.Assign(&A);
    EXPECT_EQ(B.Name, "Tahoma");
    EXPECT_EQ(B.Size, 9);
    EXPECT_TRUE(B.Style.Contains(fsBold));

    TTestPicture P;
    try {
        B.Assign(&P);
        FAIL() << "assigned a picture to a font";
    } catch (const EConvertError& E) {
        EXPECT_EQ(E.GetMessage(), "Cannot assign a TTestPicture to a TTestFont");
    }
    EXPECT_THROW(P.Assign(nullptr), EConvertError);
}

#include "base/Exception.h"
#include "framework/objects/ClassRegistry.h"
#include "tests/framework/objects/StreamingTestClasses.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<std::string> PropertyNames(const TClassInfo& C)
{
    std::vector<std::string> Names;
    for (const TPropInfo& P : C.GetProperties())
        Names.push_back(P.GetName());
    return Names;
}

// Publishes one more property and moves the default of an inherited one.
class TTestWideItem : public TTestItem
{
    PUBLISHED_CLASS(TTestWideItem, TTestItem)

    using TTestItem::TTestItem;
    int Width = 0;
    static void DeclareClass(TClassDeclaration<TTestWideItem>& D)
    {
        D.Integer("Width", &TTestWideItem::Width, &TTestWideItem::Width);
        D.Boolean("Enabled", &TTestItem::GetEnabled, &TTestItem::SetEnabled).Default(0);
    }
};

// A class that publishes nothing of its own inherits its parent's list as it is.
class TTestPlainItem : public TTestItem
{
    PUBLISHED_CLASS(TTestPlainItem, TTestItem)
    using TTestItem::TTestItem;
};

class TTestBadName : public TComponent
{
    PUBLISHED_CLASS(TTestBadName, TComponent)
    using TComponent::TComponent;
    int X = 0;
    static void DeclareClass(TClassDeclaration<TTestBadName>& D)
    {
        D.Integer("Not a name", &TTestBadName::X, &TTestBadName::X);
    }
};

// Another class that calls itself TTestItem.
class TTestImpostor : public TComponent
{
public:
    using TSelf = TTestImpostor;
    using TInherited = TComponent;
    static constexpr const char* StaticClassName = "TTestItem";
    const TClassInfo& GetClassInfo() const override { return ClassInfoOf<TTestImpostor>(); }
    using TComponent::TComponent;
};

} // namespace

TEST(ClassInfo, ListsInheritedPropertiesFirstInDeclaredOrder)
{
    const std::vector<std::string> Item = {"Mode24",  "Count",   "Value",   "Enabled", "Align",
                                           "Anchors", "Color",   "Caption", "Lines",   "Buddy",
                                           "OnClick", "OnMouse", "Font",    "Picture", "Tag"};
    EXPECT_EQ(PropertyNames(ClassInfoOf<TTestItem>()), Item);
    EXPECT_EQ(PropertyNames(ClassInfoOf<TTestPlainItem>()), Item);

    std::vector<std::string> Wide = Item;
    Wide.push_back("Width");
    EXPECT_EQ(PropertyNames(ClassInfoOf<TTestWideItem>()), Wide);
    // The redeclared property keeps its inherited place and takes the new default.
    EXPECT_EQ(ClassInfoOf<TTestWideItem>().FindProperty("Enabled")->GetDefault(), 0);
    EXPECT_EQ(ClassInfoOf<TTestItem>().FindProperty("Enabled")->GetDefault(), 1);
}

TEST(ClassInfo, KnowsNameAncestryAndWhichClassesCanBeCreated)
{
    const TClassInfo& Wide = ClassInfoOf<TTestWideItem>();
    EXPECT_EQ(Wide.GetName(), "TTestWideItem");
    EXPECT_EQ(Wide.GetParent(), &ClassInfoOf<TTestItem>());
    EXPECT_TRUE(Wide.InheritsFrom(ClassInfoOf<TComponent>()));
    EXPECT_TRUE(Wide.InheritsFrom("tcomponent"));
    EXPECT_FALSE(ClassInfoOf<TTestItem>().InheritsFrom(Wide));
    EXPECT_TRUE(Wide.IsComponentClass());
    EXPECT_FALSE(ClassInfoOf<TTestFont>().IsComponentClass());
    EXPECT_TRUE(Wide.CanCreate());
    EXPECT_FALSE(ClassInfoOf<TTestAbstract>().CanCreate());
    EXPECT_FALSE(ClassInfoOf<TTestFont>().CanCreate());
    EXPECT_THROW(ClassInfoOf<TTestAbstract>().Create(nullptr), EComponentError);

    TTestWideItem Instance(nullptr);
    const TObject& AsObject = Instance;
    EXPECT_EQ(AsObject.ClassName(), "TTestWideItem");
    EXPECT_TRUE(AsObject.InheritsFrom(ClassInfoOf<TTestItem>()));
}

TEST(ClassInfo, TheVirtualConstructorTakesTheOwner)
{
    TComponent Owner(nullptr);
    TComponent* Made = ClassInfoOf<TTestWideItem>().Create(&Owner);
    ASSERT_NE(dynamic_cast<TTestWideItem*>(Made), nullptr);
    EXPECT_EQ(Made->GetOwner(), &Owner);
    EXPECT_EQ(Made->ClassName(), "TTestWideItem");
}

TEST(ClassInfo, FindsPropertiesAndMethodsWithoutRegardToCase)
{
    const TClassInfo& Form = ClassInfoOf<TTestDerivedForm>();
    ASSERT_NE(Form.FindProperty("clientwidth"), nullptr);
    EXPECT_EQ(Form.FindProperty("clientwidth")->GetName(), "ClientWidth");
    EXPECT_EQ(Form.FindProperty("Nope"), nullptr);
    // Methods are searched in the ancestors too.
    ASSERT_NE(Form.FindMethod("formcreate"), nullptr);
    EXPECT_EQ(Form.FindMethod("FormCreate")->GetName(), "FormCreate");
    EXPECT_NE(Form.FindMethod("ButtonOkClick"), nullptr);
    EXPECT_EQ(ClassInfoOf<TTestForm>().FindMethod("ButtonOkClick"), nullptr);
}

TEST(ClassInfo, AnInvalidDeclarationIsRefused)
{
    EXPECT_THROW(ClassInfoOf<TTestBadName>(), EComponentError);
}

TEST(ClassInfo, PropertyAccessorsReachTheInstance)
{
    TTestItem Item(nullptr);
    const TClassInfo& C = ClassInfoOf<TTestItem>();
    C.FindProperty("Count")->SetOrdinal(Item, -7);
    EXPECT_EQ(Item.GetCount(), -7);
    C.FindProperty("Align")->SetOrdinal(Item, 5);
    EXPECT_EQ(Item.GetAlign(), TTestAlign::alClient);
    C.FindProperty("Anchors")->SetOrdinal(Item, 0b1100);
    EXPECT_TRUE(Item.GetAnchors() == (TTestAnchors{akRight, akBottom}));
    EXPECT_EQ(C.FindProperty("Anchors")->GetOrdinal(Item), 0b1100);
    C.FindProperty("Caption")->SetString(Item, "x");
    EXPECT_EQ(Item.GetCaption(), "x");
    TPersistent* Font = C.FindProperty("Font")->GetSubObject(Item);
    EXPECT_EQ(Font, &Item.GetFont());
    EXPECT_EQ(C.FindProperty("Picture")->GetSubObject(Item), &Item.GetPicture());

    TTestTimer Timer(nullptr);
    const TPropInfo& Buddy = *C.FindProperty("Buddy");
    EXPECT_FALSE(Buddy.AcceptsComponent(&Timer));
    EXPECT_TRUE(Buddy.AcceptsComponent(&Item));
    EXPECT_TRUE(Buddy.AcceptsComponent(nullptr));
    EXPECT_THROW(Buddy.SetComponent(Item, &Timer), EConvertError);
    EXPECT_EQ(Item.GetBuddy(), nullptr);
}

TEST(Event, BindsToAPublishedMethodByNameAndCallsIt)
{
    TestLog().clear();
    TTestForm Form(nullptr);
    Form.SetName("Form1");
    TTestItem Item(&Form);
    Item.SetName("Item1");
    Item.OnMouse = TEvent<TObject*, int, int>::Method(Form, "itemmouse");
    EXPECT_EQ(Item.OnMouse.GetTarget(), &Form);
    EXPECT_EQ(Item.OnMouse.GetMethodName(), "ItemMouse");
    Item.OnMouse(&Item, 3, -4);
    EXPECT_EQ(TestLog(), std::vector<std::string>{"ItemMouse Item1 3,-4"});

    // A handler from code is called but has no name to store.
    int Calls = 0;
    Item.OnClick = [&](TObject*) { ++Calls; };
    Item.OnClick(&Item);
    EXPECT_EQ(Calls, 1);
    EXPECT_EQ(Item.OnClick.GetTarget(), nullptr);
    Item.OnClick = nullptr;
    EXPECT_FALSE(Item.OnClick);
    Item.OnClick(&Item); // an empty event does nothing
    EXPECT_EQ(Calls, 1);
}

TEST(Event, RefusesAMethodOfAnotherShapeOrNone)
{
    TTestForm Form(nullptr);
    EXPECT_THROW(TNotifyEvent::Method(Form, "ItemMouse"), EComponentError);
    EXPECT_THROW(TNotifyEvent::Method(Form, "ButtonOkClick"), EComponentError);
    TTestDerivedForm Derived(nullptr);
    EXPECT_NO_THROW(TNotifyEvent::Method(Derived, "ButtonOkClick"));
}

TEST(ClassRegistry, FindsRegisteredClassesByName)
{
    RegisterTestClasses();
    RegisterTestClasses(); // again: harmless
    EXPECT_EQ(GetClass("ttestitem"), &ClassInfoOf<TTestItem>());
    EXPECT_EQ(&FindClass("TTestForm"), &ClassInfoOf<TTestForm>());
    EXPECT_EQ(GetClass("TNoSuchThing"), nullptr);
    try {
        FindClass("TNoSuchThing");
        FAIL();
    } catch (const EComponentError& E) {
        EXPECT_EQ(E.GetMessage(), "Class TNoSuchThing not found");
    }
    EXPECT_THROW(RegisterClass<TTestImpostor>(), EComponentError);
    EXPECT_EQ(GetClass("TTestItem"), &ClassInfoOf<TTestItem>());

    RegisterClass<TTestWideItem>();
    EXPECT_NE(GetClass("TTestWideItem"), nullptr);
    UnregisterClass<TTestWideItem>();
    EXPECT_EQ(GetClass("TTestWideItem"), nullptr);
}

TEST(ClassRegistry, PalettePagesKeepTheirClassesInOrderOnce)
{
    RegisterComponents<TTestItem, TTestTimer>("Additional");
    RegisterComponents("Additional", {&ClassInfoOf<TTestItem>(), &ClassInfoOf<TTestForm>()});
    RegisterComponents<TTestPlainItem>("Test page");
    const std::vector<const TClassInfo*> Additional = {
        &ClassInfoOf<TTestItem>(), &ClassInfoOf<TTestTimer>(), &ClassInfoOf<TTestForm>()};
    EXPECT_EQ(TClassRegistry::GetPaletteClasses("Additional"), Additional);
    const std::vector<std::string> Pages = TClassRegistry::GetPalettePages();
    EXPECT_NE(std::find(Pages.begin(), Pages.end(), "Test page"), Pages.end());
    // Palette classes are registered for the form reader as well.
    EXPECT_EQ(GetClass("TTestPlainItem"), &ClassInfoOf<TTestPlainItem>());
    EXPECT_TRUE(TClassRegistry::GetPaletteClasses("No page").empty());

    // Only component classes that can be created go on the palette.
    EXPECT_THROW(RegisterComponents<TTestAbstract>("Additional"), EComponentError);
    EXPECT_THROW(RegisterComponents<TTestFont>("Additional"), EComponentError);
    EXPECT_EQ(TClassRegistry::GetPaletteClasses("Additional"), Additional);
    UnregisterClass<TTestPlainItem>();
    EXPECT_TRUE(TClassRegistry::GetPaletteClasses("Test page").empty());
}

TEST(ColorIdent, EveryNamedColourHasOneSpellingBothWays)
{
    struct TNamed
    {
        TColor Color;
        const char* Name;
    };
    const TNamed Named[] = {
        {clBlack, "clBlack"},
        {clWhite, "clWhite"},
        {clRed, "clRed"},
        {clNone, "clNone"},
        {clDefault, "clDefault"},
        {clBtnFace, "clBtnFace"},
        {clWindow, "clWindow"},
        {clInactiveCaptionText, "clInactiveCaptionText"},
        {cl3DDkShadow, "cl3DDkShadow"},
        {clMenuBar, "clMenuBar"},
    };
    for (const TNamed& N : Named) {
        std::string Ident;
        ASSERT_TRUE(ColorToIdent(N.Color, Ident)) << N.Name;
        EXPECT_EQ(Ident, N.Name);
        TColor Back = 0;
        ASSERT_TRUE(IdentToColor(N.Name, Back));
        EXPECT_EQ(Back, N.Color);
    }
    // Every system colour index that Windows names has its clXxx name.
    for (int Index = 0; Index < COLOR_ENDCOLORS; ++Index) {
        std::string Ident;
        if (Index == 25)
            EXPECT_FALSE(ColorToIdent(clSystemColor | TColor(Index), Ident));
        else
            EXPECT_TRUE(ColorToIdent(clSystemColor | TColor(Index), Ident)) << Index;
    }
    TColor C = 0;
    EXPECT_TRUE(IdentToColor("CLBTNFACE", C));
    EXPECT_FALSE(IdentToColor("clMauve", C));
    std::string Ident;
    EXPECT_FALSE(ColorToIdent(RGB(1, 2, 3), Ident));
}

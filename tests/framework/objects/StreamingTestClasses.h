#pragma once

// Small component classes with one published property of every kind, for the component,
// class-information and form-description tests.

#include "framework/objects/ClassRegistry.h"
#include "framework/objects/Component.h"
#include "framework/objects/Event.h"
#include "framework/objects/Filer.h"

#include <cstdint>
#include <string>
#include <vector>

enum class TTestAlign
{
    alNone,
    alTop,
    alBottom,
    alLeft,
    alRight,
    alClient
};

enum TTestAnchor
{
    akLeft,
    akTop,
    akRight,
    akBottom
};
using TTestAnchors = TSet<TTestAnchor>;

enum TTestFontStyle
{
    fsBold,
    fsItalic,
    fsUnderline,
    fsStrikeOut
};
using TTestFontStyles = TSet<TTestFontStyle>;

// Every event and lifecycle call of the test classes, in order, as "Who:What" lines.
std::vector<std::string>& TestLog();

class TTestFont : public TPersistent
{
    PUBLISHED_CLASS(TTestFont, TPersistent)

    std::string Name;
    int Size = 0;
    TColor Color = clWindowText;
    TTestFontStyles Style;

    void Assign(const TPersistent* Source) override;
    static void DeclareClass(TClassDeclaration<TTestFont>& D);
};

// A picture that either refers to an embedded resource (ids 1 to 99, written as the number or
// as ResNN) or holds its own bytes, written as the binary property Data.
class TTestPicture : public TPersistent
{
    PUBLISHED_CLASS(TTestPicture, TPersistent)

    int ResourceId = 0;
    std::vector<std::uint8_t> Bytes;
    // Spelled as an identifier (ResNN) rather than a number when written.
    bool NamedReference = false;

    bool ReadReference(std::string_view Reference) override;
    std::string GetReference() const override;

protected:
    void DefineProperties(TFiler& Filer) override;
};

// The component under test: one property of each kind, a parent item for nesting, a reference
// watched through FreeNotification, and two defined properties after the published ones.
class TTestItem : public TComponent
{
    PUBLISHED_CLASS(TTestItem, TComponent)

    explicit TTestItem(TComponent* AOwner);
    ~TTestItem() override;
    static int LiveCount();

    int GetMode24() const { return FMode24; }
    void SetMode24(int Value);
    int GetCount() const { return FCount; }
    void SetCount(int Value) { FCount = Value; }
    std::uint32_t GetValue() const { return FValue; }
    void SetValue(std::uint32_t Value) { FValue = Value; }
    bool GetEnabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }
    TTestAlign GetAlign() const { return FAlign; }
    void SetAlign(TTestAlign Value) { FAlign = Value; }
    TTestAnchors GetAnchors() const { return FAnchors; }
    void SetAnchors(TTestAnchors Value) { FAnchors = Value; }
    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    const std::string& GetCaption() const { return FCaption; }
    void SetCaption(const std::string& Value) { FCaption = Value; }
    const std::vector<std::string>& GetLines() const { return FLines; }
    void SetLines(const std::vector<std::string>& Value) { FLines = Value; }
    TTestItem* GetBuddy() const { return FBuddy; }
    void SetBuddy(TTestItem* Value);
    TTestFont& GetFont() { return FFont; }
    TTestPicture& GetPicture() { return FPicture; }
    const std::vector<std::uint8_t>& GetRegionData() const { return FRegionData; }
    void SetRegionData(std::vector<std::uint8_t> Value) { FRegionData = std::move(Value); }
    int GetTag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }
    // Whether csWriting was on when the writer last asked if Tag is stored.
    static bool& SawWriting();
    int GetExtra() const { return FExtra; }
    void SetExtra(int Value) { FExtra = Value; }
    TTestItem* GetParentItem() const { return FParentItem; }
    void SetParentItem(TTestItem* Value) { FParentItem = Value; }

    TNotifyEvent OnClick;
    TEvent<TObject*, int, int> OnMouse;

    TComponent* GetParentComponent() const override { return FParentItem; }
    void SetParentComponent(TComponent* Value) override;
    // What the setters saw of csLoading, for the tests of the loading state.
    bool SawLoading() const { return FSawLoading; }
    // Set from a test to make SetCount throw during loading: 1 an EConvertError, 2 an
    // EOutOfResources.
    static int& FailOnCount();

    static void DeclareClass(TClassDeclaration<TTestItem>& D);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Loaded() override;
    void DefineProperties(TFiler& Filer) override;

private:
    void ReadRegionData(TStream& Stream);
    void WriteRegionData(TStream& Stream);

    int FMode24 = 1;
    int FCount = 0;
    std::uint32_t FValue = 0;
    bool FEnabled = true;
    TTestAlign FAlign = TTestAlign::alNone;
    TTestAnchors FAnchors = {akLeft, akTop};
    TColor FColor = clBtnFace;
    std::string FCaption;
    std::vector<std::string> FLines;
    TTestItem* FBuddy = nullptr;
    TTestFont FFont;
    TTestPicture FPicture;
    std::vector<std::uint8_t> FRegionData;
    int FExtra = 0;
    int FTag = 0;
    TTestItem* FParentItem = nullptr;
    bool FSawLoading = false;
};

// A root with published handlers of three signatures.
class TTestForm : public TComponent
{
    PUBLISHED_CLASS(TTestForm, TComponent)

    explicit TTestForm(TComponent* AOwner = nullptr);
    ~TTestForm() override;
    static int LiveCount();

    void FormCreate(TObject* Sender);
    void ItemClick(TObject* Sender);
    void ItemMouse(TObject* Sender, int X, int Y);

    int GetClientWidth() const { return FClientWidth; }
    void SetClientWidth(int Value) { FClientWidth = Value; }
    const std::string& GetCaption() const { return FCaption; }
    void SetCaption(const std::string& Value) { FCaption = Value; }

    TNotifyEvent OnCreate;

    static void DeclareClass(TClassDeclaration<TTestForm>& D);

protected:
    void Loaded() override;

private:
    int FClientWidth = 0;
    std::string FCaption;
};

// A form class of its own with one more handler, as every window of the application is.
class TTestDerivedForm : public TTestForm
{
    PUBLISHED_CLASS(TTestDerivedForm, TTestForm)

    using TTestForm::TTestForm;
    void ButtonOkClick(TObject* Sender);
    static void DeclareClass(TClassDeclaration<TTestDerivedForm>& D);
};

// A component with nothing published, the class of another name for references of the wrong
// class, and one that cannot be created.
class TTestTimer : public TComponent
{
    PUBLISHED_CLASS(TTestTimer, TComponent)
    using TComponent::TComponent;
};

class TTestAbstract : public TComponent
{
    PUBLISHED_CLASS(TTestAbstract, TComponent)
    using TComponent::TComponent;
    virtual void Run() = 0;
};

// Registers every test class (harmless to call more than once).
void RegisterTestClasses();

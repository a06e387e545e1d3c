// The Go to offset dialog: the offset typed in the editor's base, refused with a message when it
// is no offset of the data, or nothing on Cancel.
#include "framework/stdctrls/Button.h"
#include "framework/stdctrls/Edit.h"
#include "framework/stdctrls/Label.h"
#include "hexedit/Hexcontrol.h"
#include "programs/hexedit/Fgoto.h"
#include "tests/programs/HexDialogFixture.h"
#include "tests/support/CaseName.h"

#include <optional>

namespace {

class GotoDialogTest : public HexDialogTest
{
protected:
    void SetUp() override
    {
        HexDialogTest::SetUp();
        Editor = new THexEditor(Form); // the demo data: 1024 bytes
    }
    std::optional<int> Goto(int Base, const std::function<void(TFormGoto&)>& Act)
    {
        Editor->SetBaseOffset(Base);
        WhenOpen<TFormGoto>(Act);
        return TFormGoto::Execute(*Editor);
    }

    THexEditor* Editor = nullptr;
};

struct TGoodCase
{
    const char* Name;
    int Base;
    const char* Text;
    bool ByEnter;
    int Offset;
};

class GotoDialogGood : public GotoDialogTest, public testing::WithParamInterface<TGoodCase>
{};

TEST_P(GotoDialogGood, AnswersWithTheOffset)
{
    const TGoodCase& C = GetParam();
    const std::optional<int> Offset = Goto(C.Base, [this, &C](TFormGoto& D) {
        EXPECT_EQ(D.GetCaption(), "Go to offset");
        EXPECT_EQ(D.LabelOffset->GetCaption(),
                  C.Base == 16 ? "Offset (hexadecimal):" : "Offset (decimal):");
        ExpectCentredOverTheMainForm();
        EXPECT_TRUE(D.EditOffset->Focused());
        Type(C.Text);
        if (C.ByEnter)
            Key(VK_RETURN);
        else
            Click(D.ButtonOk);
    });
    EXPECT_EQ(Offset, C.Offset);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GotoDialogGood,
    testing::Values(TGoodCase{"Hexadecimal", 16, "1f", true, 0x1F},
                    TGoodCase{"HexadecimalLastWithPrefixAndBlanks", 16, " 0x3FF ", false, 1023},
                    TGoodCase{"HexadecimalLeadingZeros", 16, "0000000010", true, 16},
                    TGoodCase{"Decimal", 10, "1023", false, 1023},
                    TGoodCase{"DecimalFirst", 10, "\t0 ", true, 0}),
    ByName{});

struct TBadCase
{
    const char* Name;
    int Base;
    const char* Text;
    const char* Message;
};

class GotoDialogBad : public GotoDialogTest, public testing::WithParamInterface<TBadCase>
{};

TEST_P(GotoDialogBad, SaysWhichOffsetsThereAreAndStaysOpen)
{
    const TBadCase& C = GetParam();
    const std::optional<int> Offset = Goto(C.Base, [this, &C](TFormGoto& D) {
        Type(C.Text);
        AnswerBox();
        Key(VK_RETURN);
        EXPECT_EQ(Boxes, (std::vector<std::string>{C.Message}));
        EXPECT_EQ(D.GetModalResult(), mrNone);
        EXPECT_TRUE(D.EditOffset->Focused());
        EXPECT_EQ(D.EditOffset->GetSelText(), C.Text);
        Type("12"); // over the selection
        Key(VK_RETURN);
    });
    EXPECT_EQ(Offset, C.Base == 16 ? 0x12 : 12);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GotoDialogBad,
    testing::Values(
        TBadCase{"NotHexadecimal", 16, "1G", "\"1G\" is not an offset in this file (0 to 3FF)."},
        TBadCase{"PastTheEnd", 16, "400", "\"400\" is not an offset in this file (0 to 3FF)."},
        // Nine digits: the editor would keep the last eight and go to 0x10.
        TBadCase{"PastThirtyTwoBits", 16, "100000010",
                 "\"100000010\" is not an offset in this file (0 to 3FF)."},
        TBadCase{"Blank", 16, "  ", "Type an offset in this file (0 to 3FF)."},
        TBadCase{"DecimalPastTheEnd", 10, "1024",
                 "\"1024\" is not an offset in this file (0 to 1023)."},
        TBadCase{"HexadecimalInDecimal", 10, "0x10",
                 "\"0x10\" is not an offset in this file (0 to 1023)."},
        TBadCase{"Negative", 10, "-1", "\"-1\" is not an offset in this file (0 to 1023)."}),
    ByName{});

TEST_F(GotoDialogTest, CancelAndEscapeAnswerNothing)
{
    EXPECT_EQ(Goto(16,
                   [this](TFormGoto&) {
                       Type("10");
                       Key(VK_ESCAPE);
                   }),
              std::nullopt);
    EXPECT_EQ(Goto(10,
                   [this](TFormGoto& D) {
                       Type("10");
                       Click(D.ButtonCancel);
                   }),
              std::nullopt);
}

} // namespace

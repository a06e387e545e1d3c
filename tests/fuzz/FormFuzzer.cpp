// The form-description reader on any text read into a form, with the framework's and the
// controls' classes registered: a clear exception or components, nothing left behind either way;
// and what it read writes out as a description that reads back and writes out the same again.

#include "controls/BinaryClock.h"
#include "controls/RidivAzoza.h"
#include "controls/VelmoraPanel.h"
#include "framework/graphics/ImageList.h"
#include "framework/objects/ClassRegistry.h"
#include "framework/objects/FormReader.h"
#include "framework/objects/FormWriter.h"
#include "framework/stdctrls/CustomPanel.h"
#include "framework/stdctrls/PopupMenu.h"
#include "framework/windows/Form.h"
#include "hexedit/Hexcontrol.h"
#include "shaped/fcImageForm.h"
#include "tests/fuzz/FuzzSupport.h"

#include <cstdint>
#include <string>

namespace {

THeadlessSession* Session = nullptr;

// The first line where two descriptions part, with its number, as each has it.
std::string FirstDifference(const std::string& A, const std::string& B)
{
    std::size_t Start = 0;
    for (int Line = 1;; ++Line) {
        const std::size_t EndA = A.find('\n', Start), EndB = B.find('\n', Start);
        const std::string LineA = A.substr(Start, EndA == std::string::npos ? EndA : EndA - Start);
        const std::string LineB = B.substr(Start, EndB == std::string::npos ? EndB : EndB - Start);
        if (LineA != LineB || EndA == std::string::npos || EndB == std::string::npos)
            return "line " + std::to_string(Line) + ":\n  " + LineA + "\n  " + LineB;
        Start = EndA + 1;
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    Session = new THeadlessSession;
    RegisterGraphicsClasses();
    RegisterMenuClasses();
    RegisterStandardControls();
    RidivAzoza::Register();
    BinaryClock::Register();
    VelmoraPanel::Register();
    fcImageForm::Register();
    HexEditor::Register();
    return 0;
}

// A fresh form with the description read into it, as a program's forms read their own; null
// when the read failed (and left nothing behind).
TForm* ReadForm(const std::string& Text)
{
    auto* Form = new TForm(nullptr);
    try {
        TFormReader::ReadInto(*Form, Text);
    } catch (const Exception&) {
        delete Form;
        return nullptr;
    }
    return Form;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    TForm* Read = ReadForm(std::string(reinterpret_cast<const char*>(Data), Size));
    if (!Read) {
        Session->Settle();
        return 0;
    }
    const std::string Written = TFormWriter::WriteComponent(*Read);
    delete Read;
    TForm* Again = ReadForm(Written);
    FuzzCheck(Again != nullptr, "what was written does not read back:\n" + Written);
    const std::string Rewritten = TFormWriter::WriteComponent(*Again);
    FuzzCheck(Rewritten == Written,
              "a second writing differs from the first at " + FirstDifference(Written, Rewritten));
    delete Again;
    Session->Settle();
    return 0;
}

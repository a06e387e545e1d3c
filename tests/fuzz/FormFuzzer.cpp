// The form-description reader on any text, with the framework's and the controls' classes
// registered: a clear exception or components, nothing left behind either way; and what it read
// writes out as a description that reads back and writes out the same again.

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

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    Session = new THeadlessSession;
    RegisterGraphicsClasses();
    RegisterMenuClasses();
    RegisterStandardControls();
    RegisterClass<TForm>();
    RidivAzoza::Register();
    BinaryClock::Register();
    VelmoraPanel::Register();
    fcImageForm::Register();
    HexEditor::Register();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    const std::string Text(reinterpret_cast<const char*>(Data), Size);
    TComponent* Read = nullptr;
    try {
        Read = TFormReader::ReadComponent(Text, nullptr);
    } catch (const Exception&) {
        Session->Settle();
        return 0;
    }
    FuzzCheck(Read != nullptr, "a read without an exception gave nothing");
    const std::string Written = TFormWriter::WriteComponent(*Read);
    delete Read;
    TComponent* Again = nullptr;
    try {
        Again = TFormReader::ReadComponent(Written, nullptr);
    } catch (const Exception& E) {
        FuzzCheck(false,
                  "what was written does not read back: " + std::string(E.what()) + "\n" + Written);
    }
    FuzzCheck(TFormWriter::WriteComponent(*Again) == Written,
              "a second writing differs:\n" + Written);
    delete Again;
    Session->Settle();
    return 0;
}

// Every quoted include of the sources must point down the layers (or stay inside the including
// folder), so that the layering cannot rot. The order is written in the README's layout table.
#include "tests/support/CaseName.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct TLayer
{
    std::string Folder;              // relative to the source root, with a trailing slash
    std::vector<std::string> MayUse; // include prefixes, besides the folder itself
};

// The platform interface is the headers at platform/'s root; its ports and shared services sit
// in the folders below.
const std::vector<std::string> PlatformApi = {"base/", "platform/Platform.h",
                                              "platform/FontEngine.h", "platform/ByteBlock.h"};

std::vector<std::string> Plus(std::vector<std::string> List, std::vector<std::string> More)
{
    List.insert(List.end(), More.begin(), More.end());
    return List;
}

const std::vector<TLayer>& Layers()
{
    static const std::vector<TLayer> L = {
        {"base/", {}},
        {"platform/common/", PlatformApi},
        {"platform/posix/", Plus(PlatformApi, {"platform/common/"})},
        {"platform/freetype/", PlatformApi},
        {"platform/headless/",
         Plus(PlatformApi, {"platform/common/", "platform/posix/", "platform/freetype/"})},
        {"platform/x11/",
         Plus(PlatformApi, {"platform/common/", "platform/posix/", "platform/freetype/"})},
        {"platform/win32/", Plus(PlatformApi, {"platform/common/"})},
        {"platform/", {"base/"}},
        {"framework/objects/", PlatformApi},
        {"framework/graphics/", Plus(PlatformApi, {"framework/objects/"})},
        {"framework/windows/", Plus(PlatformApi, {"framework/objects/", "framework/graphics/"})},
        {"framework/stdctrls/",
         Plus(PlatformApi, {"framework/objects/", "framework/graphics/", "framework/windows/"})},
        {"framework/dialogs/", Plus(PlatformApi, {"framework/objects/", "framework/graphics/",
                                                  "framework/windows/", "framework/stdctrls/"})},
        // Controls and the shaped component reach the operating system only through the
        // framework: base and framework, never platform/.
        {"controls/", {"base/", "framework/"}},
        {"shaped/", {"base/", "framework/"}},
        {"hexedit/", {"base/", "framework/", "controls/VelmoraPanel.h"}},
        // The programs pick their port, so they may name any of them.
        {"app/", {"base/", "platform/", "framework/", "controls/", "shaped/", "hexedit/"}},
        {"programs/",
         {"base/", "platform/", "framework/", "controls/", "shaped/", "hexedit/", "app/"}},
    };
    return L;
}

bool StartsWith(const std::string& S, const std::string& Prefix)
{
    return S.compare(0, Prefix.size(), Prefix) == 0;
}

const TLayer* LayerOf(const std::string& File)
{
    const TLayer* Best = nullptr;
    for (const TLayer& L : Layers())
        if (StartsWith(File, L.Folder) && (!Best || L.Folder.size() > Best->Folder.size()))
            Best = &L;
    return Best;
}

// Whether File (a path from the source root) may include Target (as written in the include).
bool MayInclude(const std::string& File, const std::string& Target)
{
    const TLayer* L = LayerOf(File);
    if (!L)
        return false;
    if (StartsWith(Target, L->Folder))
        return L->Folder != "platform/" || Target.find('/', 9) == std::string::npos;
    return std::any_of(L->MayUse.begin(), L->MayUse.end(),
                       [&](const std::string& P) { return StartsWith(Target, P); });
}

struct TRuleCase
{
    const char* File;
    const char* Target;
    bool Allowed;
};

class IncludeRule : public testing::TestWithParam<TRuleCase>
{};

TEST_P(IncludeRule, AllowsDownwardAndRefusesUpwardOrSideways)
{
    const TRuleCase& C = GetParam();
    EXPECT_EQ(MayInclude(C.File, C.Target), C.Allowed) << C.File << " -> " << C.Target;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IncludeRule,
    testing::Values(
        TRuleCase{"framework/windows/Form.cpp", "framework/graphics/Canvas.h", true},
        TRuleCase{"framework/graphics/Canvas.cpp", "framework/windows/Form.h", false},
        TRuleCase{"framework/windows/Application.cpp", "framework/stdctrls/MessageForm.h", false},
        TRuleCase{"framework/dialogs/OpenDialog.cpp", "framework/stdctrls/Edit.h", true},
        TRuleCase{"framework/stdctrls/Edit.cpp", "framework/dialogs/OpenDialog.h", false},
        TRuleCase{"platform/Platform.h", "base/Rect.h", true},
        TRuleCase{"platform/Platform.h", "framework/objects/Component.h", false},
        TRuleCase{"platform/Platform.cpp", "platform/x11/X11Display.h", false},
        TRuleCase{"platform/x11/X11Platform.h", "platform/posix/FileRegistry.h", true},
        TRuleCase{"platform/x11/X11Platform.h", "platform/headless/HeadlessClock.h", false},
        TRuleCase{"platform/posix/FileRegistry.h", "platform/common/RegistryTree.h", true},
        TRuleCase{"controls/RidivAzoza.cpp", "framework/windows/Screen.h", true},
        TRuleCase{"controls/RidivAzoza.cpp", "platform/Platform.h", false},
        TRuleCase{"shaped/fcImage.cpp", "controls/RidivAzoza.h", false},
        TRuleCase{"app/DesktopPortX11.cpp", "platform/x11/X11Platform.h", true},
        TRuleCase{"base/Rect.h", "platform/Platform.h", false},
        TRuleCase{"elsewhere/New.cpp", "base/Rect.h", false}),
    [](const testing::TestParamInfo<TRuleCase>& Info) {
        return CaseName(std::string(Info.param.File) + "_" + Info.param.Target);
    });

// Every source file outside tools/ and tests/ belongs to a layer and includes only what its
// layer may use.
TEST(IncludeOrder, EverySourceIncludesOnlyDownward)
{
    const fs::path Root = NIXIE_SOURCE_DIR;
    const std::regex Include("^\\s*#\\s*include\\s+\"([^\"]+)\"");
    std::vector<std::string> Faults;
    int Checked = 0;
    for (auto It = fs::recursive_directory_iterator(Root); It != fs::end(It); ++It) {
        const std::string Rel = fs::relative(It->path(), Root).generic_string();
        if (It->is_directory()) {
            // A build folder is known by its cache, whatever it is called.
            if (Rel == "build" || Rel == "tools" || Rel == "tests" || Rel == "resources" ||
                Rel.starts_with(".") || fs::exists(It->path() / "CMakeCache.txt"))
                It.disable_recursion_pending();
            continue;
        }
        const std::string Ext = It->path().extension().string();
        if (Ext != ".h" && Ext != ".cpp")
            continue;
        ++Checked;
        if (!LayerOf(Rel)) {
            Faults.push_back(Rel + ": in no layer");
            continue;
        }
        std::ifstream In(It->path());
        std::string Line;
        while (std::getline(In, Line)) {
            std::smatch M;
            if (std::regex_search(Line, M, Include) && !MayInclude(Rel, M[1].str()))
                Faults.push_back(Rel + " includes " + M[1].str());
        }
    }
    EXPECT_GT(Checked, 100) << "the sources were not found under " << Root;
    EXPECT_TRUE(Faults.empty()) << testing::PrintToString(Faults);
}

} // namespace

// The X11 port's fonts come from its module beside the executable (or in the installed place),
// opened when text is first asked for: real faces, not boxes.
#include "platform/x11/X11FontModule.h"

#include "platform/freetype/BoxFontFace.h"
#include "platform/posix/PosixFiles.h"
#include "platform/posix/PosixProcess.h"
#include "tests/x11/X11TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

bool ModuleIsMapped()
{
    const std::optional<std::string> Maps = ReadWholeFile("/proc/self/maps");
    return Maps && Maps->find(ModuleFileName) != std::string::npos;
}

TEST(X11FontModule, IsOpenedWhenTextIsFirstAskedFor)
{
    ASSERT_TRUE(IsExistingFile(GetFontModulePath(GetProcessExecutablePath())));
    testing::FLAGS_gtest_death_test_style = "threadsafe";
    // In a process of its own, where nothing has asked for text yet.
    EXPECT_EXIT(
        {
            TX11Platform Port;
            if (ModuleIsMapped())
                std::_Exit(3);
            Port.GetFontEngine();
            std::_Exit(ModuleIsMapped() ? 0 : 4);
        },
        testing::ExitedWithCode(0), "");
}

// A build tree has the module beside the program; an installed bin/ has it in ../lib/nixie/.
TEST(X11FontModule, IsLookedForBesideTheProgramThenInTheInstalledPlace)
{
    namespace fs = std::filesystem;
    std::string Template = (fs::temp_directory_path() / "nixie-fonts-XXXXXX").string();
    ASSERT_NE(mkdtemp(Template.data()), nullptr);
    const fs::path Root = Template;
    const std::string Program = (Root / "bin/nixie").string();
    const std::string Beside = (Root / "bin" / ModuleFileName).string();
    const std::string Installed = (Root / "bin/../lib/nixie" / ModuleFileName).string();
    fs::create_directories(Root / "bin");
    EXPECT_EQ(GetFontModulePath(Program), Beside) << "none anywhere";
    fs::create_directories(Root / "lib/nixie");
    std::ofstream(Installed).put('\0');
    EXPECT_EQ(GetFontModulePath(Program), Installed);
    std::ofstream(Beside).put('\0');
    EXPECT_EQ(GetFontModulePath(Program), Beside);
    fs::remove_all(Root);
}

TEST(X11FontModule, GivesRealFaces)
{
    TFontRequest Request;
    Request.HeightPixels = 16;
    const std::shared_ptr<TFontFace> Face = X11Port().GetFontEngine().OpenFace(Request);
    ASSERT_NE(Face, nullptr);
    EXPECT_EQ(Face->GetMetrics().Height, 16);
    // A glyph of a font, not the hollow box of the fallback.
    const TGlyph Box = TBoxFontFace::MakeBoxGlyph(Face->GetMetrics());
    const TGlyph& W = Face->GetGlyph(U'W');
    EXPECT_FALSE(W.Width == Box.Width && W.Height == Box.Height && W.Coverage == Box.Coverage);
}

} // namespace

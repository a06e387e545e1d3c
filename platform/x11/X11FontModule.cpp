#include "platform/x11/X11FontModule.h"

#include "platform/freetype/BoxFontFace.h"
#include "platform/posix/PosixFiles.h"
#include "platform/posix/PosixProcess.h"

#include <cstdio>
#include <dlfcn.h>

namespace {

// Box glyphs of the asked height, for every family.
class TBoxFontEngine : public TFontEngine
{
public:
    std::shared_ptr<TFontFace> OpenFace(const TFontRequest& Request) override
    {
        return std::make_shared<TBoxFontFace>(Request.HeightPixels);
    }
};

} // namespace

std::string GetFontModulePath(const std::string& ExecutablePath)
{
    const std::string Folder = GetFolderOf(ExecutablePath);
    const std::string Beside = Folder + "/" + ModuleFileName;
    const std::string Installed = Folder + "/../lib/nixie/" + ModuleFileName;
    if (!IsExistingFile(Beside) && IsExistingFile(Installed))
        return Installed;
    return Beside;
}

std::unique_ptr<TFontEngine> OpenFontModule()
{
    const std::string Path = GetFontModulePath(GetProcessExecutablePath());
    // Never closed: the faces it hands out run its code for as long as the program does.
    void* Module = dlopen(Path.c_str(), RTLD_NOW | RTLD_LOCAL);
    using TCreate = TFontEngine* (*)();
    TCreate Create = nullptr;
    if (Module)
        Create = reinterpret_cast<TCreate>(dlsym(Module, "NixieCreateFontEngine"));
    if (!Create) {
        const char* Why = dlerror();
        std::fprintf(stderr, "nixie: no fonts (%s); text is drawn as boxes\n",
                     Why ? Why : Path.c_str());
        return std::make_unique<TBoxFontEngine>();
    }
    return std::unique_ptr<TFontEngine>(Create());
}

#pragma once

#include "platform/FontEngine.h"
#include "platform/freetype/FontMatchCache.h"

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <tuple>

struct FT_LibraryRec_;
struct _FcConfig;

// The font engine of Linux and of the headless port: fontconfig picks the face (an unknown family
// such as "MS Sans Serif" falls back to the system's sans face), FreeType rasterises it. Styles
// that the chosen file lacks are made in software. Faces are shared and kept for the engine's
// life, so repeated requests cost nothing. Given a match cache file, fontconfig's choices are
// remembered there and fontconfig is loaded only for a request the file cannot answer. Not
// thread-safe: the GUI thread owns it.
class TFreeTypeFontEngine : public TFontEngine
{
public:
    explicit TFreeTypeFontEngine(std::filesystem::path MatchCachePath = {});
    ~TFreeTypeFontEngine() override;
    TFreeTypeFontEngine(const TFreeTypeFontEngine&) = delete;
    TFreeTypeFontEngine& operator=(const TFreeTypeFontEngine&) = delete;

    std::shared_ptr<TFontFace> OpenFace(const TFontRequest& Request) override;

    // The font file that serves Request (empty when only the built-in box face is left).
    std::string GetFontFile(const TFontRequest& Request);
    // Whether fontconfig has been loaded (a match cache may have spared it).
    bool GetFontconfigLoaded() const { return FConfigTried; }

private:
    struct TMatch
    {
        std::string File;
        int Index = 0;
        bool SyntheticBold = false;
        bool SyntheticItalic = false;
    };
    using TFaceKey = std::tuple<std::string, int, unsigned>;

    TMatch Match(const std::string& Family, unsigned Style);
    std::shared_ptr<TFontFace> Load(const TFontRequest& Request);

    std::shared_ptr<FT_LibraryRec_> FLibrary;
    _FcConfig* FConfig = nullptr;
    bool FConfigTried = false;
    TFontMatchCache FCache;
    std::map<std::pair<std::string, unsigned>, TMatch> FMatches;
    std::map<TFaceKey, std::shared_ptr<TFontFace>> FFaces;
};

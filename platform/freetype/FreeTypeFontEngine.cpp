#include "platform/freetype/FreeTypeFontEngine.h"

#include "platform/freetype/BoxFontFace.h"
#include "platform/freetype/FreeTypeFontFace.h"

#include <algorithm>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include <strings.h>
#include FT_FREETYPE_H

namespace {

// The styles that change the glyphs; underline and strike-out are drawn by the canvas.
constexpr unsigned GlyphStyles = fsBold | fsItalic;

const FcChar8* AsFcString(const std::string& S)
{
    return reinterpret_cast<const FcChar8*>(S.c_str());
}

} // namespace

TFreeTypeFontEngine::TFreeTypeFontEngine(std::filesystem::path MatchCachePath)
    : FCache(std::move(MatchCachePath))
{
    FT_Library Library = nullptr;
    if (FT_Init_FreeType(&Library) == 0)
        FLibrary.reset(Library, [](FT_Library L) { FT_Done_FreeType(L); });
}

TFreeTypeFontEngine::~TFreeTypeFontEngine()
{
    FFaces.clear();
    if (FConfig)
        FcConfigDestroy(FConfig);
}

std::shared_ptr<TFontFace> TFreeTypeFontEngine::OpenFace(const TFontRequest& Request)
{
    const TFaceKey Key{Request.Name, Request.HeightPixels, Request.Style & GlyphStyles};
    auto It = FFaces.find(Key);
    if (It == FFaces.end())
        It = FFaces.emplace(Key, Load(Request)).first;
    return It->second;
}

namespace {

// Windows' dialog faces have no namesakes here. Asked for as Arial, fontconfig gives a face made
// to Arial's widths (Liberation Sans, Arimo) where one is installed, so captions laid out for
// Windows fit; otherwise its usual sans face.
std::string FontconfigFamily(const std::string& Family)
{
    if (Family.empty())
        return "sans-serif";
    for (const char* Dialog :
         {"MS Sans Serif", "Microsoft Sans Serif", "MS Shell Dlg", "MS Shell Dlg 2", "Tahoma"})
        if (strcasecmp(Family.c_str(), Dialog) == 0)
            return "Arial";
    return Family;
}

} // namespace

std::string TFreeTypeFontEngine::GetFontFile(const TFontRequest& Request)
{
    return Match(Request.Name, Request.Style & GlyphStyles).File;
}

std::shared_ptr<TFontFace> TFreeTypeFontEngine::Load(const TFontRequest& Request)
{
    const unsigned Style = Request.Style & GlyphStyles;
    if (FLibrary) {
        // The family asked for, then the generic sans face if that match is unusable.
        for (const std::string& Family : {Request.Name, std::string("sans-serif")}) {
            const TMatch M = Match(Family, Style);
            if (M.File.empty())
                continue;
            FT_Face Face = nullptr;
            if (FT_New_Face(FLibrary.get(), M.File.c_str(), M.Index, &Face) != 0)
                continue;
            if (!FT_IS_SCALABLE(Face)) {
                FT_Done_Face(Face);
                continue;
            }
            return std::make_shared<TFreeTypeFontFace>(FLibrary, Face, Request.HeightPixels,
                                                       M.SyntheticBold, M.SyntheticItalic);
        }
    }
    int Cell = Request.HeightPixels == 0 ? 13 : Request.HeightPixels;
    if (Cell < 0)
        Cell = -Cell * 6 / 5;
    return std::make_shared<TBoxFontFace>(std::min(Cell, TFreeTypeFontFace::MaxCellPixels));
}

TFreeTypeFontEngine::TMatch TFreeTypeFontEngine::Match(const std::string& Family, unsigned Style)
{
    const auto Key = std::make_pair(Family, Style);
    if (auto It = FMatches.find(Key); It != FMatches.end())
        return It->second;
    if (!FConfigTried)
        if (const auto Cached = FCache.Find(Family, Style)) {
            const TMatch Result{Cached->File, Cached->Index, Cached->SyntheticBold,
                                Cached->SyntheticItalic};
            FMatches.emplace(Key, Result);
            return Result;
        }

    if (!FConfigTried) {
        FConfigTried = true;
        FConfig = FcInitLoadConfigAndFonts();
    }
    TMatch Result;
    if (FConfig) {
        const bool Bold = (Style & fsBold) != 0;
        const bool Italic = (Style & fsItalic) != 0;
        FcPattern* Pattern = FcPatternCreate();
        FcPatternAddString(Pattern, FC_FAMILY, AsFcString(FontconfigFamily(Family)));
        FcPatternAddInteger(Pattern, FC_WEIGHT, Bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcPatternAddInteger(Pattern, FC_SLANT, Italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcPatternAddBool(Pattern, FC_SCALABLE, FcTrue);
        FcConfigSubstitute(FConfig, Pattern, FcMatchPattern);
        FcDefaultSubstitute(Pattern);
        FcResult Outcome = FcResultNoMatch;
        if (FcPattern* Found = FcFontMatch(FConfig, Pattern, &Outcome)) {
            FcChar8* File = nullptr;
            int Index = 0;
            int Weight = FC_WEIGHT_REGULAR;
            int Slant = FC_SLANT_ROMAN;
            if (FcPatternGetString(Found, FC_FILE, 0, &File) == FcResultMatch && File) {
                Result.File = reinterpret_cast<const char*>(File);
                FcPatternGetInteger(Found, FC_INDEX, 0, &Index);
                FcPatternGetInteger(Found, FC_WEIGHT, 0, &Weight);
                FcPatternGetInteger(Found, FC_SLANT, 0, &Slant);
                Result.Index = Index;
                Result.SyntheticBold = Bold && Weight < FC_WEIGHT_DEMIBOLD;
                Result.SyntheticItalic = Italic && Slant == FC_SLANT_ROMAN;
            }
            FcPatternDestroy(Found);
        }
        FcPatternDestroy(Pattern);
    }
    FCache.Store(Family, Style,
                 {Result.File, Result.Index, Result.SyntheticBold, Result.SyntheticItalic});
    FMatches.emplace(Key, Result);
    return Result;
}

// The entry of the font module: the FreeType engine, built as a library of its own that the X11
// port opens when text is first drawn (see X11FontModule.h).
#include "platform/freetype/FreeTypeFontEngine.h"

// The one name the port looks up; the caller owns the engine. A desktop program remembers
// fontconfig's choices, so that its next start can skip loading fontconfig.
extern "C" TFontEngine* NixieCreateFontEngine()
{
    return new TFreeTypeFontEngine(TFontMatchCache::DefaultPath());
}

#pragma once

#include "platform/FontEngine.h"

#include <map>
#include <memory>
#include <string>
#include <tuple>

// The font engine of the Windows port: GDI chooses and rasterises the fonts (an unknown family
// gets GDI's own substitute). Faces are shared and kept for the engine's life.
class TGdiFontEngine : public TFontEngine
{
public:
    std::shared_ptr<TFontFace> OpenFace(const TFontRequest& Request) override;

private:
    std::map<std::tuple<std::string, int, unsigned>, std::shared_ptr<TFontFace>> FFaces;
};

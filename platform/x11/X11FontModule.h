#pragma once

#include "platform/FontEngine.h"

#include <memory>
#include <string>

// The font engine of the X11 port lives in a module beside the executable (ModuleFileName),
// opened the first time a program asks for text: FreeType, fontconfig and the libraries they
// bring are then mapped only by programs that draw text, and the clock draws none until its
// menu or a dialog opens. Without the module text is drawn with box glyphs, and the reason is
// written to standard error once.
constexpr const char* ModuleFileName = "nixie-fonts.so";

std::unique_ptr<TFontEngine> OpenFontModule();
// The module path for an executable at ExecutablePath: beside it (a build tree), else in
// ../lib/nixie/ from its folder (an installed bin/ with its lib/) when the module is there. A
// missing module gives the path beside the executable.
std::string GetFontModulePath(const std::string& ExecutablePath);

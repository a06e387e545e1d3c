#pragma once

#include <cstdint>

// A colour: 0x00BBGGRR for an RGB colour (red in the low byte); a value with the top bit set names
// a system colour by its index in the low byte. 0x1FFFFFFF is the "automatic" transparent colour of
// the shaped-window component and 0x1FFFFFFF/clNone are never drawn as such.
using TColor = std::uint32_t;

constexpr TColor RGB(std::uint8_t R, std::uint8_t G, std::uint8_t B)
{
    return TColor(R) | (TColor(G) << 8) | (TColor(B) << 16);
}
constexpr std::uint8_t GetRValue(TColor C)
{
    return std::uint8_t(C);
}
constexpr std::uint8_t GetGValue(TColor C)
{
    return std::uint8_t(C >> 8);
}
constexpr std::uint8_t GetBValue(TColor C)
{
    return std::uint8_t(C >> 16);
}

constexpr TColor clSystemColor = 0x80000000u;

// The system colour indices of Windows (COLOR_SCROLLBAR ... COLOR_MENUBAR).
enum TSystemColorIndex : std::uint8_t
{
    COLOR_SCROLLBAR = 0,
    COLOR_BACKGROUND = 1,
    COLOR_ACTIVECAPTION = 2,
    COLOR_INACTIVECAPTION = 3,
    COLOR_MENU = 4,
    COLOR_WINDOW = 5,
    COLOR_WINDOWFRAME = 6,
    COLOR_MENUTEXT = 7,
    COLOR_WINDOWTEXT = 8,
    COLOR_CAPTIONTEXT = 9,
    COLOR_ACTIVEBORDER = 10,
    COLOR_INACTIVEBORDER = 11,
    COLOR_APPWORKSPACE = 12,
    COLOR_HIGHLIGHT = 13,
    COLOR_HIGHLIGHTTEXT = 14,
    COLOR_BTNFACE = 15,
    COLOR_BTNSHADOW = 16,
    COLOR_GRAYTEXT = 17,
    COLOR_BTNTEXT = 18,
    COLOR_INACTIVECAPTIONTEXT = 19,
    COLOR_BTNHIGHLIGHT = 20,
    COLOR_3DDKSHADOW = 21,
    COLOR_3DLIGHT = 22,
    COLOR_INFOTEXT = 23,
    COLOR_INFOBK = 24,
    COLOR_HOTLIGHT = 26,
    COLOR_GRADIENTACTIVECAPTION = 27,
    COLOR_GRADIENTINACTIVECAPTION = 28,
    COLOR_MENUHILIGHT = 29,
    COLOR_MENUBAR = 30,
    COLOR_ENDCOLORS = 31
};

constexpr TColor clScrollBar = clSystemColor | COLOR_SCROLLBAR;
constexpr TColor clBackground = clSystemColor | COLOR_BACKGROUND;
constexpr TColor clActiveCaption = clSystemColor | COLOR_ACTIVECAPTION;
constexpr TColor clInactiveCaption = clSystemColor | COLOR_INACTIVECAPTION;
constexpr TColor clMenu = clSystemColor | COLOR_MENU;
constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
constexpr TColor clWindowFrame = clSystemColor | COLOR_WINDOWFRAME;
constexpr TColor clMenuText = clSystemColor | COLOR_MENUTEXT;
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clCaptionText = clSystemColor | COLOR_CAPTIONTEXT;
constexpr TColor clActiveBorder = clSystemColor | COLOR_ACTIVEBORDER;
constexpr TColor clInactiveBorder = clSystemColor | COLOR_INACTIVEBORDER;
constexpr TColor clAppWorkSpace = clSystemColor | COLOR_APPWORKSPACE;
constexpr TColor clHighlight = clSystemColor | COLOR_HIGHLIGHT;
constexpr TColor clHighlightText = clSystemColor | COLOR_HIGHLIGHTTEXT;
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clBtnShadow = clSystemColor | COLOR_BTNSHADOW;
constexpr TColor clGrayText = clSystemColor | COLOR_GRAYTEXT;
constexpr TColor clBtnText = clSystemColor | COLOR_BTNTEXT;
constexpr TColor clInactiveCaptionText = clSystemColor | COLOR_INACTIVECAPTIONTEXT;
constexpr TColor clBtnHighlight = clSystemColor | COLOR_BTNHIGHLIGHT;
constexpr TColor cl3DDkShadow = clSystemColor | COLOR_3DDKSHADOW;
constexpr TColor cl3DLight = clSystemColor | COLOR_3DLIGHT;
constexpr TColor clInfoText = clSystemColor | COLOR_INFOTEXT;
constexpr TColor clInfoBk = clSystemColor | COLOR_INFOBK;
constexpr TColor clHotLight = clSystemColor | COLOR_HOTLIGHT;
constexpr TColor clGradientActiveCaption = clSystemColor | COLOR_GRADIENTACTIVECAPTION;
constexpr TColor clGradientInactiveCaption = clSystemColor | COLOR_GRADIENTINACTIVECAPTION;
constexpr TColor clMenuHighlight = clSystemColor | COLOR_MENUHILIGHT;
constexpr TColor clMenuBar = clSystemColor | COLOR_MENUBAR;

constexpr TColor clBlack = RGB(0, 0, 0);
constexpr TColor clMaroon = RGB(128, 0, 0);
constexpr TColor clGreen = RGB(0, 128, 0);
constexpr TColor clOlive = RGB(128, 128, 0);
constexpr TColor clNavy = RGB(0, 0, 128);
constexpr TColor clPurple = RGB(128, 0, 128);
constexpr TColor clTeal = RGB(0, 128, 128);
constexpr TColor clGray = RGB(128, 128, 128);
constexpr TColor clSilver = RGB(192, 192, 192);
constexpr TColor clRed = RGB(255, 0, 0);
constexpr TColor clLime = RGB(0, 255, 0);
constexpr TColor clYellow = RGB(255, 255, 0);
constexpr TColor clBlue = RGB(0, 0, 255);
constexpr TColor clFuchsia = RGB(255, 0, 255);
constexpr TColor clAqua = RGB(0, 255, 255);
constexpr TColor clWhite = RGB(255, 255, 255);
constexpr TColor clNone = 0x1FFFFFFFu;
constexpr TColor clDefault = 0x20000000u;

// The RGB value of a system colour in the classic Windows scheme ("Windows Standard"); the same on
// every port, so that a control looks alike everywhere and tests can name exact pixels.
constexpr TColor GetClassicSysColor(int Index)
{
    constexpr TColor Scheme[COLOR_ENDCOLORS] = {
        RGB(212, 208, 200), // scroll bar
        RGB(58, 110, 165),  // desktop
        RGB(10, 36, 106),   // active caption
        RGB(128, 128, 128), // inactive caption
        RGB(212, 208, 200), // menu
        RGB(255, 255, 255), // window
        RGB(0, 0, 0),       // window frame
        RGB(0, 0, 0),       // menu text
        RGB(0, 0, 0),       // window text
        RGB(255, 255, 255), // caption text
        RGB(212, 208, 200), // active border
        RGB(212, 208, 200), // inactive border
        RGB(128, 128, 128), // application workspace
        RGB(10, 36, 106),   // highlight
        RGB(255, 255, 255), // highlight text
        RGB(212, 208, 200), // button face
        RGB(128, 128, 128), // button shadow
        RGB(128, 128, 128), // grey text
        RGB(0, 0, 0),       // button text
        RGB(212, 208, 200), // inactive caption text
        RGB(255, 255, 255), // button highlight
        RGB(64, 64, 64),    // 3D dark shadow
        RGB(212, 208, 200), // 3D light
        RGB(0, 0, 0),       // tooltip text
        RGB(255, 255, 225), // tooltip background
        RGB(181, 181, 181), // (unused index 25)
        RGB(0, 0, 128),     // hot-tracked item
        RGB(166, 202, 240), // active caption gradient
        RGB(192, 192, 192), // inactive caption gradient
        RGB(10, 36, 106),   // menu highlight
        RGB(212, 208, 200), // menu bar
    };
    return Index >= 0 && Index < COLOR_ENDCOLORS ? Scheme[Index] : RGB(0, 0, 0);
}

// Resolves a system colour to its RGB value; an RGB colour is returned unchanged (its top byte
// cleared). clNone and clDefault are not colours to draw with: callers test for them first.
constexpr TColor ColorToRGB(TColor C)
{
    if (C & clSystemColor)
        return GetClassicSysColor(int(C & 0xFF));
    return C & 0x00FFFFFFu;
}

// A surface pixel is 0x00RRGGBB (memory order blue, green, red, unused: the layout of a 32-bit
// DIB, of an X11 ZPixmap at depth 24 and of SetDIBitsToDevice), so colours swap red and blue.
using TPixel = std::uint32_t;

constexpr TPixel ColorToPixel(TColor C)
{
    const TColor R = ColorToRGB(C);
    return (TPixel(GetRValue(R)) << 16) | (TPixel(GetGValue(R)) << 8) | GetBValue(R);
}
constexpr TColor PixelToColor(TPixel P)
{
    return RGB(std::uint8_t(P >> 16), std::uint8_t(P >> 8), std::uint8_t(P));
}

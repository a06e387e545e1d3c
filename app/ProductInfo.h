#pragma once

// What the clock says about itself and its maker: the version, the addresses its boxes open, and
// the maker's other products that the about box links to.

constexpr const char* ProductVersion = "1.1";
constexpr const char* ProductName = "Velmora's Nixie Tube Clock";
constexpr const char* ProductCopyright = "Copyright \u00a9 2005 Velmora Software";
constexpr const char* ProductPage = "https://velmora.example/nixie/";
constexpr const char* MakerSite = "https://velmora.example/";
// The maker's address as the title box shows it.
constexpr const char* MakerSiteText = "www.velmora.example";

// The pages of the maker's other products, top to bottom as the about box lists them (its form
// description holds their names: Binary Clock, Hex Editor, Colour Bars, Shaped Windows, Tube
// Digits).
constexpr const char* OtherProductPages[5] = {
    "https://velmora.example/binary-clock/", "https://velmora.example/hex-editor/",
    "https://velmora.example/colour-bars/",  "https://velmora.example/shaped-windows/",
    "https://velmora.example/tube-digits/",
};

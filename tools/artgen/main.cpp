// artgen: draws every picture of the clock and writes them as BMP files, and the programs' icon.
//
//   artgen RESOURCES_FOLDER [--sheet PREVIEW.png] [--manifest]
//
// The pictures go to the paths that resources/Resources.list names, below RESOURCES_FOLDER, the
// icon to icons/ there (an .ico file and PNG pictures of each size). The output is the same, byte
// for byte, on every run; the resource tests check that the committed files are exactly what this
// program draws.
#include "tools/artgen/ArtCatalog.h"
#include "tools/artgen/ContactSheet.h"
#include "tools/common/PngWriter.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

int main(int argc, char** argv)
{
    std::string Folder;
    std::string Sheet;
    bool Manifest = false;
    for (int I = 1; I < argc; ++I) {
        const std::string Arg = argv[I];
        if (Arg == "--sheet" && I + 1 < argc)
            Sheet = argv[++I];
        else if (Arg == "--manifest")
            Manifest = true;
        else if (!Arg.empty() && Arg[0] != '-' && Folder.empty())
            Folder = Arg;
        else {
            std::fprintf(stderr,
                         "usage: artgen RESOURCES_FOLDER [--sheet FILE.png] [--manifest]\n");
            return 2;
        }
    }
    if (Folder.empty() && Sheet.empty() && !Manifest) {
        std::fprintf(stderr, "usage: artgen RESOURCES_FOLDER [--sheet FILE.png] [--manifest]\n");
        return 2;
    }
    try {
        for (const TArtResource& R : ArtResources()) {
            if (Manifest)
                std::printf("%s\n", ManifestLine(R).c_str());
            if (Folder.empty())
                continue;
            const std::filesystem::path Path = std::filesystem::path(Folder) / R.File;
            std::filesystem::create_directories(Path.parent_path());
            R.Paint().SaveToFile(Path.string());
        }
        for (const TArtFile& F : ArtFiles()) {
            if (Folder.empty())
                break;
            const std::filesystem::path Path = std::filesystem::path(Folder) / F.File;
            std::filesystem::create_directories(Path.parent_path());
            const std::vector<std::uint8_t> Data = F.Encode();
            std::ofstream Out(Path, std::ios::binary);
            Out.write(reinterpret_cast<const char*>(Data.data()), std::streamsize(Data.size()));
            if (!Out)
                throw std::runtime_error("cannot write " + Path.string());
        }
        if (!Sheet.empty()) {
            const TBitmap Picture = RenderContactSheet();
            TPngWriter::SaveToFile(Sheet, Picture.GetWidth(), Picture.GetHeight(),
                                   Picture.GetPixels());
        }
    } catch (const std::exception& E) {
        std::fprintf(stderr, "artgen: %s\n", E.what());
        return 1;
    }
    return 0;
}

#include "app/Viewdoc.h"

#include "framework/windows/Application.h"
#include "framework/windows/Messages.h"
#include "platform/Platform.h"

std::string JoinPath(const std::string& Folder, const std::string& FileName)
{
    std::string Path = Folder;
    // A slash ends a folder as well as a backslash does: executable paths on Linux use it.
    if (Path.empty() || (Path.back() != '\\' && Path.back() != '/' && Path.back() != ':'))
        Path += '\\';
    return Path + FileName;
}

int OpenIfExists(const std::string& Path)
{
    TPlatform& Port = TPlatform::Get();
    if (!Port.FileExists(Path))
        return 0;
    // A file that the shell cannot open still counts as found: the search is over.
    Port.ShellOpen(Path);
    return 1;
}

int ViewDocumentation(const std::string& BaseName, const std::string& FirstFolder, int Quiet)
{
    const std::string Names[] = {BaseName + ".html", BaseName + ".htm"};
    // Without a first folder the joined name would be a path from the root of the drive.
    if (!FirstFolder.empty())
        for (const std::string& Name : Names)
            if (OpenIfExists(JoinPath(FirstFolder, Name)))
                return 1;
    for (const std::string& Name : Names)
        if (OpenIfExists(Name))
            return 1;
    const std::string Executable = TPlatform::Get().GetExecutablePath();
    // The separator stays with the folder, so an executable at a drive root gives "C:\", not
    // "C:" (which would mean the current folder of drive C).
    if (const std::size_t Cut = Executable.find_last_of("\\/"); Cut != std::string::npos) {
        const std::string Folder = Executable.substr(0, Cut + 1);
        for (const std::string& Name : Names)
            if (OpenIfExists(JoinPath(Folder, Name)))
                return 1;
        // An installed program keeps its manual apart from its executable: bin/ and share/nixie/
        // under one prefix. In the executable's own separator, so a Linux path stays one.
        const char Separator = Executable[Cut];
        const std::string Installed =
            Folder + ".." + Separator + "share" + Separator + "nixie" + Separator;
        for (const std::string& Name : Names)
            if (OpenIfExists(JoinPath(Installed, Name)))
                return 1;
    }
    if (Quiet == 0)
        Application().ShowMessageBox("Unable to find documentation", "error", MB_OK);
    return 0;
}

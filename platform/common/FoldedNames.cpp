#include "platform/common/FoldedNames.h"

std::string FoldName(const std::string& Name)
{
    std::string Folded = Name;
    for (char& C : Folded)
        if (C >= 'A' && C <= 'Z')
            C = static_cast<char>(C - 'A' + 'a');
    return Folded;
}

bool IsAbsolutePath(const std::string& Path)
{
    if (Path.size() >= 2 && Path[1] == ':')
        return true;
    return !Path.empty() && (Path[0] == '\\' || Path[0] == '/');
}

std::string FoldPath(const std::string& Path, const std::string& Folder)
{
    std::string Full = Path;
    if (!IsAbsolutePath(Path) && !Folder.empty()) {
        Full = Folder;
        if (Full.back() != '\\' && Full.back() != '/')
            Full += '\\';
        Full += Path;
    }
    for (char& C : Full)
        if (C == '/')
            C = '\\';
    return FoldName(Full);
}

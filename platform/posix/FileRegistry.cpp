#include "platform/posix/FileRegistry.h"

#include "base/HexDigit.h"
#include "platform/posix/PosixFiles.h"

#include <cerrno>
#include <cstdio>

namespace {

constexpr const char* Header =
    "; Nixie's per-user settings (HKEY_CURRENT_USER), rewritten whole on every change.\n";

const char* HexDigits = "0123456789abcdef";

void AppendHexByte(std::string& Out, std::uint8_t B)
{
    Out += HexDigits[B >> 4];
    Out += HexDigits[B & 15];
}

// Value names and text: in double quotes, with backslash escapes for the quote, the backslash
// and every control byte. Other bytes (UTF-8 included) stand as they are.
void AppendQuoted(std::string& Out, const std::string& Text)
{
    Out += '"';
    for (unsigned char C : Text) {
        if (C == '"' || C == '\\') {
            Out += '\\';
            Out += static_cast<char>(C);
        } else if (C < 0x20 || C == 0x7F) {
            Out += "\\x";
            AppendHexByte(Out, C);
        } else {
            Out += static_cast<char>(C);
        }
    }
    Out += '"';
}

// Reads a quoted string at Pos; Pos ends after the closing quote.
bool ReadQuoted(const std::string& Line, std::size_t& Pos, std::string& Text)
{
    Text.clear();
    if (Pos >= Line.size() || Line[Pos] != '"')
        return false;
    for (++Pos; Pos < Line.size(); ++Pos) {
        const char C = Line[Pos];
        if (C == '"') {
            ++Pos;
            return true;
        }
        if (C != '\\') {
            Text += C;
            continue;
        }
        if (++Pos >= Line.size())
            return false;
        if (Line[Pos] == 'x') {
            if (Pos + 2 >= Line.size())
                return false;
            const int High = HexDigitValue(Line[Pos + 1]);
            const int Low = HexDigitValue(Line[Pos + 2]);
            if (High < 0 || Low < 0)
                return false;
            Text += static_cast<char>(High * 16 + Low);
            Pos += 2;
        } else {
            Text += Line[Pos];
        }
    }
    return false;
}

// Key paths: control bytes, '%' and the brackets as %HH, so that a line holds one key.
std::string EncodeKeyPath(const std::string& Path)
{
    std::string Out;
    for (unsigned char C : Path) {
        if (C < 0x20 || C == 0x7F || C == '%' || C == '[' || C == ']') {
            Out += '%';
            AppendHexByte(Out, C);
        } else {
            Out += static_cast<char>(C);
        }
    }
    return Out;
}

bool DecodeKeyPath(const std::string& Encoded, std::string& Path)
{
    Path.clear();
    for (std::size_t I = 0; I < Encoded.size(); ++I) {
        if (Encoded[I] != '%') {
            Path += Encoded[I];
            continue;
        }
        if (I + 2 >= Encoded.size())
            return false;
        const int High = HexDigitValue(Encoded[I + 1]);
        const int Low = HexDigitValue(Encoded[I + 2]);
        if (High < 0 || Low < 0)
            return false;
        Path += static_cast<char>(High * 16 + Low);
        I += 2;
    }
    return true;
}

bool IsPlainText(std::uint32_t Type, const std::vector<std::uint8_t>& Data)
{
    if (Type != REG_SZ || Data.empty() || Data.back() != 0)
        return false;
    for (std::size_t I = 0; I + 1 < Data.size(); ++I)
        if (Data[I] == 0)
            return false;
    return true;
}

void AppendValue(std::string& Out, const std::string& Name, std::uint32_t Type,
                 const std::vector<std::uint8_t>& Data)
{
    AppendQuoted(Out, Name);
    Out += '=';
    if (const std::optional<std::uint32_t> V = DwordOf(Data); Type == REG_DWORD && V) {
        char Text[16];
        std::snprintf(Text, sizeof Text, "dword:%08x", *V);
        Out += Text;
    } else if (IsPlainText(Type, Data)) {
        AppendQuoted(Out, std::string(Data.begin(), Data.end() - 1));
    } else {
        char Text[24];
        std::snprintf(Text, sizeof Text, "hex(%x):", Type);
        Out += Text;
        for (std::size_t I = 0; I < Data.size(); ++I) {
            if (I)
                Out += ',';
            AppendHexByte(Out, Data[I]);
        }
    }
    Out += '\n';
}

bool ParseData(const std::string& Line, std::size_t Pos, std::uint32_t& Type,
               std::vector<std::uint8_t>& Data)
{
    Data.clear();
    const std::string Rest = Line.substr(Pos);
    if (Rest.starts_with("\"")) {
        std::string Text;
        std::size_t P = 0;
        if (!ReadQuoted(Rest, P, Text) || P != Rest.size())
            return false;
        Type = REG_SZ;
        Data.assign(Text.begin(), Text.end());
        Data.push_back(0);
        return true;
    }
    if (Rest.starts_with("dword:")) {
        if (Rest.size() != 14)
            return false;
        std::uint32_t V = 0;
        for (std::size_t I = 6; I < 14; ++I) {
            const int D = HexDigitValue(Rest[I]);
            if (D < 0)
                return false;
            V = V * 16 + static_cast<std::uint32_t>(D);
        }
        Type = REG_DWORD;
        const std::array<std::uint8_t, 4> Bytes = DwordBytes(V);
        Data.assign(Bytes.begin(), Bytes.end());
        return true;
    }
    if (!Rest.starts_with("hex("))
        return false;
    const std::size_t Close = Rest.find("):");
    if (Close == std::string::npos || Close == 4 || Close > 12)
        return false;
    Type = 0;
    for (std::size_t I = 4; I < Close; ++I) {
        const int D = HexDigitValue(Rest[I]);
        if (D < 0)
            return false;
        Type = Type * 16 + static_cast<std::uint32_t>(D);
    }
    std::size_t I = Close + 2;
    while (I < Rest.size()) {
        if (I + 2 > Rest.size() || HexDigitValue(Rest[I]) < 0 || HexDigitValue(Rest[I + 1]) < 0)
            return false;
        Data.push_back(
            static_cast<std::uint8_t>(HexDigitValue(Rest[I]) * 16 + HexDigitValue(Rest[I + 1])));
        I += 2;
        if (I < Rest.size() && (Rest[I] != ',' || ++I == Rest.size()))
            return false;
    }
    return true;
}

} // namespace

TFileRegistry::TFileRegistry(std::string Path) : FPath(std::move(Path))
{
    // The model starts with the keys of a fresh Windows profile; this registry starts empty.
    FTree.RemoveKey("Software");
}

const std::string& TFileRegistry::GetFilePath()
{
    if (FPath.empty())
        FPath = GetConfigHome() + "/nixie/registry";
    return FPath;
}

void TFileRegistry::EnsureLoaded()
{
    if (FLoaded)
        return;
    FLoaded = true;
    // A writer killed before its rename leaves a temporary file beside: an old one is litter.
    RemoveStaleTemporaries(GetFilePath(), 60);
    const std::optional<std::string> Text = ReadWholeFile(GetFilePath());
    if (!Text) {
        if (errno != ENOENT) {
            std::fprintf(stderr, "nixie: cannot read the settings in %s; they stay as they are\n",
                         FPath.c_str());
            FReadOnly = true;
        }
        return;
    }
    if (const int Bad = Parse(*Text); Bad > 0) {
        std::fprintf(stderr, "nixie: %d damaged lines skipped in %s\n", Bad, FPath.c_str());
        FDamaged = *Text;
    }
}

int TFileRegistry::Parse(const std::string& Text)
{
    for (const std::string& Name : FTree.GetSubKeyNames(""))
        FTree.RemoveKey(Name);
    TRegistryKey Root = 0;
    FTree.OpenKey("", Root);
    for (const std::string& Name : FTree.GetValueNames(""))
        FTree.DeleteValue(Root, Name);

    int Bad = 0;
    // The key of the values that follow; none after a key line that made no sense, whose values
    // would otherwise land in the key before it.
    TRegistryKey Current = Root;
    std::size_t Start = 0;
    while (Start < Text.size()) {
        std::size_t End = Text.find('\n', Start);
        if (End == std::string::npos)
            End = Text.size();
        std::string Line = Text.substr(Start, End - Start);
        Start = End + 1;
        if (!Line.empty() && Line.back() == '\r')
            Line.pop_back();
        if (Line.empty() || Line[0] == ';')
            continue;
        if (Line[0] == '[') {
            std::string Path;
            TRegistryKey Key = 0;
            if (Current != Root && Current != 0)
                FTree.CloseKey(Current);
            Current = 0;
            if (Line.back() == ']' && DecodeKeyPath(Line.substr(1, Line.size() - 2), Path) &&
                FTree.CreateKey(Path, Key, nullptr) == ERROR_SUCCESS)
                Current = Key;
            else
                ++Bad;
            continue;
        }
        std::string Name;
        std::size_t Pos = 0;
        std::uint32_t Type = REG_NONE;
        std::vector<std::uint8_t> Data;
        if (Current != 0 && ReadQuoted(Line, Pos, Name) && Pos < Line.size() && Line[Pos] == '=' &&
            ParseData(Line, Pos + 1, Type, Data))
            FTree.SetValue(Current, Name, Type, Data);
        else
            ++Bad;
    }
    if (Current != Root && Current != 0)
        FTree.CloseKey(Current);
    FTree.CloseKey(Root);
    return Bad;
}

std::string TFileRegistry::Serialise()
{
    EnsureLoaded();
    std::string Out = Header;
    FTree.VisitKeys(
        [&Out](const std::string& Path, const std::vector<TRegistryTree::TValue>& Values) {
            if (!Path.empty() || !Values.empty())
                Out += "[" + EncodeKeyPath(Path) + "]\n";
            for (const TRegistryTree::TValue& V : Values)
                AppendValue(Out, V.Name, V.Type, V.Data);
        });
    return Out;
}

bool TFileRegistry::Save()
{
    if (FReadOnly)
        return false;
    const std::string& Path = GetFilePath();
    if (!MakeFolders(GetFolderOf(Path), 0700))
        return false;
    if (!FDamaged.empty()) {
        if (!WriteFileAtomically(Path + ".damaged", FDamaged, 0600))
            return false;
        FDamaged.clear();
    }
    return WriteFileAtomically(Path, Serialise(), 0600);
}

long TFileRegistry::CreateKey(const std::string& Path, TRegistryKey& Key,
                              std::uint32_t* Disposition)
{
    EnsureLoaded();
    // The first missing key on the way is what a failed save has to take back.
    std::string Missing;
    std::string Prefix;
    for (std::size_t Start = 0; Start <= Path.size() && Missing.empty();) {
        std::size_t End = Path.find('\\', Start);
        if (End == std::string::npos)
            End = Path.size();
        if (End > Start) {
            Prefix += (Prefix.empty() ? "" : "\\") + Path.substr(Start, End - Start);
            if (!FTree.KeyExists(Prefix))
                Missing = Prefix;
        }
        Start = End + 1;
    }
    std::uint32_t Got = 0;
    const long Result = FTree.CreateKey(Path, Key, &Got);
    if (Disposition)
        *Disposition = Got;
    if (Result != ERROR_SUCCESS || Got != REG_CREATED_NEW_KEY || Save())
        return Result;
    FTree.CloseKey(Key);
    FTree.RemoveKey(Missing);
    Key = 0;
    if (Disposition)
        *Disposition = 0;
    return ERROR_ACCESS_DENIED;
}

long TFileRegistry::OpenKey(const std::string& Path, TRegistryKey& Key)
{
    EnsureLoaded();
    return FTree.OpenKey(Path, Key);
}

long TFileRegistry::QueryValue(TRegistryKey Key, const std::string& Name, std::uint32_t& Type,
                               std::vector<std::uint8_t>& Data)
{
    EnsureLoaded();
    return FTree.QueryValue(Key, Name, Type, Data);
}

long TFileRegistry::SetValue(TRegistryKey Key, const std::string& Name, std::uint32_t Type,
                             std::span<const std::uint8_t> Data)
{
    EnsureLoaded();
    std::uint32_t OldType = REG_NONE;
    std::vector<std::uint8_t> OldData;
    const bool Existed = FTree.QueryValue(Key, Name, OldType, OldData) == ERROR_SUCCESS;
    const long Result = FTree.SetValue(Key, Name, Type, Data);
    if (Result != ERROR_SUCCESS || Save())
        return Result;
    if (Existed)
        FTree.SetValue(Key, Name, OldType, OldData);
    else
        FTree.DeleteValue(Key, Name);
    return ERROR_ACCESS_DENIED;
}

long TFileRegistry::DeleteValue(TRegistryKey Key, const std::string& Name)
{
    EnsureLoaded();
    std::uint32_t OldType = REG_NONE;
    std::vector<std::uint8_t> OldData;
    FTree.QueryValue(Key, Name, OldType, OldData);
    const long Result = FTree.DeleteValue(Key, Name);
    if (Result != ERROR_SUCCESS || Save())
        return Result;
    FTree.SetValue(Key, Name, OldType, OldData);
    return ERROR_ACCESS_DENIED;
}

long TFileRegistry::CloseKey(TRegistryKey Key)
{
    return FTree.CloseKey(Key);
}

bool TFileRegistry::RemoveKey(const std::string& Path)
{
    EnsureLoaded();
    if (!FTree.KeyExists(Path))
        return false;
    const std::string Before = Serialise();
    FTree.RemoveKey(Path);
    if (Save())
        return true;
    Parse(Before); // the file did not change: neither does the tree
    return false;
}

std::vector<std::string> TFileRegistry::GetValueNames(const std::string& Path)
{
    EnsureLoaded();
    return FTree.GetValueNames(Path);
}

#include "platform/common/RegistryTree.h"

#include "platform/common/FoldedNames.h"

#include <algorithm>

namespace {

// The per-user key that every fresh Windows profile has.
constexpr const char* RunKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

} // namespace

TRegistryTree::TRegistryTree() : FRoot(std::make_shared<TNode>())
{
    FRoot->Name = "HKEY_CURRENT_USER";
    TRegistryKey Key = 0;
    CreateKey(RunKeyPath, Key, nullptr);
    CloseKey(Key);
}

TRegistryTree::~TRegistryTree() = default;

long TRegistryTree::SplitPath(const std::string& Path, std::vector<std::string>& Parts)
{
    // As in Win32: a leading backslash is an error, empty components (a trailing or doubled
    // backslash) are skipped.
    Parts.clear();
    if (!Path.empty() && Path.front() == '\\')
        return ERROR_BAD_PATHNAME;
    std::size_t Start = 0;
    while (Start <= Path.size()) {
        std::size_t End = Path.find('\\', Start);
        if (End == std::string::npos)
            End = Path.size();
        if (End - Start > MaxKeyNameBytes)
            return ERROR_INVALID_PARAMETER;
        if (End > Start) {
            if (Parts.size() == MaxKeyDepth)
                return ERROR_INVALID_PARAMETER;
            Parts.push_back(Path.substr(Start, End - Start));
        }
        Start = End + 1;
    }
    return ERROR_SUCCESS;
}

std::shared_ptr<TRegistryTree::TNode> TRegistryTree::Find(const std::string& Path) const
{
    std::vector<std::string> Parts;
    if (SplitPath(Path, Parts) != ERROR_SUCCESS)
        return nullptr;
    std::shared_ptr<TNode> Node = FRoot;
    for (const std::string& Part : Parts) {
        auto It = Node->SubKeys.find(FoldName(Part));
        if (It == Node->SubKeys.end())
            return nullptr;
        Node = It->second;
    }
    return Node;
}

long TRegistryTree::Resolve(TRegistryKey Key, std::shared_ptr<TNode>& Node) const
{
    auto It = FHandles.find(Key);
    if (It == FHandles.end())
        return ERROR_INVALID_HANDLE;
    Node = It->second;
    return Node->Deleted ? ERROR_KEY_DELETED : ERROR_SUCCESS;
}

std::vector<TRegistryTree::TValue>::iterator TRegistryTree::FindValue(TNode& Node,
                                                                      const std::string& Name)
{
    const std::string Folded = FoldName(Name);
    return std::find_if(Node.Values.begin(), Node.Values.end(),
                        [&](const TValue& V) { return V.Folded == Folded; });
}

TRegistryKey TRegistryTree::NewHandle(std::shared_ptr<TNode> Node)
{
    const TRegistryKey Key = FNextHandle;
    FNextHandle += 4;
    FHandles.emplace(Key, std::move(Node));
    return Key;
}

long TRegistryTree::CreateKey(const std::string& Path, TRegistryKey& Key,
                              std::uint32_t* Disposition)
{
    Key = 0;
    if (Disposition)
        *Disposition = 0;
    if (FFailure != ERROR_SUCCESS)
        return FFailure;
    std::vector<std::string> Parts;
    if (const long Error = SplitPath(Path, Parts); Error != ERROR_SUCCESS)
        return Error;
    std::shared_ptr<TNode> Node = FRoot;
    bool Created = false;
    for (const std::string& Part : Parts) {
        std::shared_ptr<TNode>& Child = Node->SubKeys[FoldName(Part)];
        if (!Child) {
            Child = std::make_shared<TNode>();
            Child->Name = Part;
            Created = true;
        }
        Node = Child;
    }
    Key = NewHandle(Node);
    if (Disposition)
        *Disposition = Created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return ERROR_SUCCESS;
}

long TRegistryTree::OpenKey(const std::string& Path, TRegistryKey& Key)
{
    Key = 0;
    if (FFailure != ERROR_SUCCESS)
        return FFailure;
    std::vector<std::string> Parts;
    if (const long Error = SplitPath(Path, Parts); Error != ERROR_SUCCESS)
        return Error;
    std::shared_ptr<TNode> Node = Find(Path);
    if (!Node)
        return ERROR_FILE_NOT_FOUND;
    Key = NewHandle(Node);
    return ERROR_SUCCESS;
}

long TRegistryTree::QueryValue(TRegistryKey Key, const std::string& Name, std::uint32_t& Type,
                               std::vector<std::uint8_t>& Data) const
{
    Type = REG_NONE;
    Data.clear();
    std::shared_ptr<TNode> Node;
    if (const long Error = Resolve(Key, Node); Error != ERROR_SUCCESS)
        return Error;
    const auto It = FindValue(*Node, Name);
    if (It == Node->Values.end())
        return ERROR_FILE_NOT_FOUND;
    Type = It->Type;
    Data = It->Data;
    return ERROR_SUCCESS;
}

long TRegistryTree::SetValue(TRegistryKey Key, const std::string& Name, std::uint32_t Type,
                             std::span<const std::uint8_t> Data)
{
    std::shared_ptr<TNode> Node;
    if (const long Error = Resolve(Key, Node); Error != ERROR_SUCCESS)
        return Error;
    auto It = FindValue(*Node, Name);
    if (It == Node->Values.end())
        It = Node->Values.insert(Node->Values.end(), TValue{Name, FoldName(Name), REG_NONE, {}});
    It->Type = Type;
    It->Data.assign(Data.begin(), Data.end());
    return ERROR_SUCCESS;
}

long TRegistryTree::DeleteValue(TRegistryKey Key, const std::string& Name)
{
    std::shared_ptr<TNode> Node;
    if (const long Error = Resolve(Key, Node); Error != ERROR_SUCCESS)
        return Error;
    const auto It = FindValue(*Node, Name);
    if (It == Node->Values.end())
        return ERROR_FILE_NOT_FOUND;
    Node->Values.erase(It);
    return ERROR_SUCCESS;
}

long TRegistryTree::CloseKey(TRegistryKey Key)
{
    // A handle to a removed key can still be closed, as in Win32.
    return FHandles.erase(Key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

bool TRegistryTree::KeyExists(const std::string& Path) const
{
    return Find(Path) != nullptr;
}

bool TRegistryTree::RemoveKey(const std::string& Path)
{
    std::vector<std::string> Parts;
    if (SplitPath(Path, Parts) != ERROR_SUCCESS || Parts.empty())
        return false; // the root stays
    const std::string Last = Parts.back();
    Parts.pop_back();
    std::string ParentPath;
    for (const std::string& Part : Parts)
        ParentPath += Part + "\\";
    std::shared_ptr<TNode> Parent = Find(ParentPath);
    if (!Parent)
        return false;
    auto It = Parent->SubKeys.find(FoldName(Last));
    if (It == Parent->SubKeys.end())
        return false;
    std::vector<std::shared_ptr<TNode>> Pending{It->second};
    while (!Pending.empty()) {
        std::shared_ptr<TNode> Node = Pending.back();
        Pending.pop_back();
        Node->Deleted = true;
        for (auto& Entry : Node->SubKeys)
            Pending.push_back(Entry.second);
    }
    Parent->SubKeys.erase(It);
    return true;
}

void TRegistryTree::VisitKeys(
    const std::function<void(const std::string& Path, const std::vector<TValue>& Values)>& Visit)
    const
{
    std::vector<std::pair<std::string, const TNode*>> Pending{{"", FRoot.get()}};
    while (!Pending.empty()) {
        const auto [Path, Node] = std::move(Pending.back());
        Pending.pop_back();
        Visit(Path, Node->Values);
        for (auto It = Node->SubKeys.rbegin(); It != Node->SubKeys.rend(); ++It)
            Pending.emplace_back(Path.empty() ? It->second->Name : Path + "\\" + It->second->Name,
                                 It->second.get());
    }
}

std::vector<std::string> TRegistryTree::GetValueNames(const std::string& Path) const
{
    std::vector<std::string> Names;
    if (std::shared_ptr<TNode> Node = Find(Path))
        for (const TValue& V : Node->Values)
            Names.push_back(V.Name);
    return Names;
}

std::vector<std::string> TRegistryTree::GetSubKeyNames(const std::string& Path) const
{
    std::vector<std::string> Names;
    if (std::shared_ptr<TNode> Node = Find(Path))
        for (const auto& Entry : Node->SubKeys)
            Names.push_back(Entry.second->Name);
    return Names;
}

#pragma once

#include <functional>
#include <string>
#include <vector>

// The texts of an item's further columns, the first in the list's second column. Every change
// calls the change handler that its item gives it.
class TListSubItems
{
public:
    explicit TListSubItems(std::function<void()> OnChange) : FOnChange(std::move(OnChange)) {}

    // Appends a text and returns its index.
    int Add(const std::string& Text)
    {
        FStrings.push_back(Text);
        FOnChange();
        return int(FStrings.size()) - 1;
    }
    int GetCount() const { return int(FStrings.size()); }
    const std::string& operator[](int Index) const { return FStrings.at(std::size_t(Index)); }
    void Set(int Index, const std::string& Text)
    {
        FStrings.at(std::size_t(Index)) = Text;
        FOnChange();
    }
    void Clear()
    {
        FStrings.clear();
        FOnChange();
    }
    const std::vector<std::string>& GetStrings() const { return FStrings; }

private:
    std::vector<std::string> FStrings;
    std::function<void()> FOnChange;
};

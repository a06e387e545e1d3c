// The registry file reader on any text: lines it cannot understand are counted and skipped, and
// the tree it keeps writes out as a file that reads back whole and writes out the same again.

#include "platform/posix/FileRegistry.h"
#include "tests/fuzz/FuzzSupport.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    // Parse and Serialise work on the tree alone: the path is never opened.
    TFileRegistry Registry("/nonexistent/nixie-fuzz/registry");
    const int Bad = Registry.Parse(std::string(reinterpret_cast<const char*>(Data), Size));
    FuzzCheck(Bad >= 0, "a negative count of bad lines");
    const std::string Written = Registry.Serialise();
    TFileRegistry Reread("/nonexistent/nixie-fuzz/registry");
    FuzzCheck(Reread.Parse(Written) == 0, "the written file has lines that make no sense");
    FuzzCheck(Reread.Serialise() == Written, "the written file does not read back the same");
    return 0;
}

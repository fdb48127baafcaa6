// Arbitrary sequences of user actions on a whole sheet: nothing may touch
// memory it does not own, hang or leak, and the sheet's invariants (current
// cell and selection inside the sheet, row count within its limits, the
// editor's caret on a character boundary, valid reference names, no
// non-finite results) hold after every action.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include "fuzz/SheetActions.h"

namespace {

// One folder per process for the files the runs save and open.
const std::string& RunFolder()
{
    static const std::string folder = [] {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/qtx-actions-XXXXXX";
        if (!mkdtemp(&pattern[0]))
            std::abort();
        return pattern;
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string error = sheetactions::RunActions(data, size, RunFolder());
    if (!error.empty()) {
        std::fprintf(stderr, "invariant broken: %s\n", error.c_str());
        std::abort();
    }
    return 0;
}

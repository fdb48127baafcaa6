// Feeds arbitrary bytes to the whole calculation of an expression cell. The
// first byte picks the number of decimals (0..6); the rest is the GBK text.
// Every result must end in "=value" with a plain number: never "nan" or
// "inf".
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/engine/CalcState.h"
#include "core/engine/ExprEngine.h"
#include "core/engine/Prompt.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    CSilentPrompt prompt;
    CCalcState state;
    state.SetPrompt(&prompt);
    state.SetDecimals(data[0] % 7);
    CExprEngine engine(state);
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::string result = engine.CalcExpressionText(text);

    const std::size_t eq = result.rfind('=');
    if (eq == std::string::npos)
        std::abort();
    const std::string value = result.substr(eq + 1);
    if (value.empty())
        std::abort();
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        const bool ok = (c >= '0' && c <= '9') || (c == '-' && i == 0) || c == '.';
        if (!ok)
            std::abort();
    }
    return 0;
}

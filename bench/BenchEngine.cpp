// The whole calculation of an expression cell (cleaning, checks, evaluation,
// result text) on a sheet's worth of distinct expressions, next to muparser
// parsing and evaluating the same expressions without their annotations.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "core/engine/CalcState.h"
#include "core/engine/ExprEngine.h"
#include "core/engine/Prompt.h"

#ifdef QTX_WITH_MUPARSER
#include <muParser.h>
#endif

namespace {

const int EXPRESSIONS = 65500;
const std::string WALL = "\xC7\xBD\xB3\xA4\xB6\xC8";  // 墙长度

struct SSet {
    std::vector<std::string> m_Sheet;  // as typed, with an annotation
    std::vector<std::string> m_Plain;  // without the annotation
};

// (12+45)[墙长度]*2.8+(10)*(3.6+0.2), numbers varied.
const SSet& Expressions()
{
    static const SSet set = [] {
        SSet s;
        std::mt19937 rng(65500);
        std::uniform_int_distribution<int> whole(1, 999), tenth(0, 9);
        for (int i = 0; i < EXPRESSIONS; ++i) {
            char a[16], b[16], c[16], d[16], e[16], f[16];
            std::snprintf(a, sizeof a, "%d", i);
            std::snprintf(b, sizeof b, "%d", whole(rng));
            std::snprintf(c, sizeof c, "%d.%d", tenth(rng), tenth(rng));
            std::snprintf(d, sizeof d, "%d", whole(rng));
            std::snprintf(e, sizeof e, "%d.%d", tenth(rng), tenth(rng));
            std::snprintf(f, sizeof f, "0.%d", tenth(rng));
            const std::string head = std::string("(") + a + "+" + b + ")";
            const std::string tail = std::string("*") + c + "+(" + d + ")*(" + e + "+" + f + ")";
            s.m_Sheet.push_back(head + "[" + WALL + "]" + tail);
            s.m_Plain.push_back(head + tail);
        }
        return s;
    }();
    return set;
}

void BM_CalcExpressionText(benchmark::State& st)
{
    const SSet& set = Expressions();
    CSilentPrompt prompt;
    CCalcState state;
    state.SetPrompt(&prompt);
    CExprEngine engine(state);
    for (auto _ : st) {
        for (const std::string& text : set.m_Sheet) {
            std::string result = engine.CalcExpressionText(text);
            benchmark::DoNotOptimize(result);
        }
    }
    st.SetItemsProcessed(st.iterations() * EXPRESSIONS);
}
BENCHMARK(BM_CalcExpressionText)->Unit(benchmark::kMillisecond);

#ifdef QTX_WITH_MUPARSER
void BM_Muparser(benchmark::State& st)
{
    const SSet& set = Expressions();
    mu::Parser parser;
    for (auto _ : st) {
        for (const std::string& text : set.m_Plain) {
            parser.SetExpr(text);
            double v = parser.Eval();
            benchmark::DoNotOptimize(v);
        }
    }
    st.SetItemsProcessed(st.iterations() * EXPRESSIONS);
}
BENCHMARK(BM_Muparser)->Unit(benchmark::kMillisecond);
#endif

}  // namespace

BENCHMARK_MAIN();

#include "core/compare/SequenceDiff.h"

#include <algorithm>
#include <cstdint>

namespace seqdiff {

namespace {

using Pairs = std::vector<std::pair<int, int>>;

// One run of the algorithm over the kept elements: a and b are the element
// values, ia and ib their indexes in the caller's sequences.
class CMyers {
public:
    CMyers(const std::vector<int>& a, const std::vector<int>& ia, const std::vector<int>& b,
           const std::vector<int>& ib, Pairs& out)
        : m_A(a), m_IA(ia), m_B(b), m_IB(ib), m_Out(out)
    {
        const std::size_t size = a.size() + b.size() + 5;
        m_Forward.resize(size);
        m_Backward.resize(size);
    }

    // Matches of a[a0 .. a1) against b[b0 .. b1), appended in order.
    void Run(int a0, int a1, int b0, int b1)
    {
        // Common ends are matched at once: nothing cheaper can replace them.
        while (a0 < a1 && b0 < b1 && m_A[a0] == m_B[b0])
            Match(a0++, b0++);
        int tail = 0;
        while (a0 < a1 && b0 < b1 && m_A[a1 - 1] == m_B[b1 - 1]) {
            --a1;
            --b1;
            ++tail;
        }
        if (a0 < a1 && b0 < b1) {
            // Both parts are left and differ at both ends, so at least two
            // edits remain and both halves around the middle snake need
            // fewer than the whole.
            int x0, y0, x1, y1;
            MiddleSnake(a0, a1, b0, b1, x0, y0, x1, y1);
            Run(a0, x0, b0, y0);
            for (int x = x0, y = y0; x < x1; ++x, ++y)
                Match(x, y);
            Run(x1, a1, y1, b1);
        }
        for (int k = 0; k < tail; ++k)
            Match(a1 + k, b1 + k);
    }

private:
    void Match(int x, int y) { m_Out.emplace_back(m_IA[x], m_IB[y]); }

    // A snake (x0, y0) -> (x1, y1) that lies on a shortest edit path of
    // a[a0 .. a1) and b[b0 .. b1); coordinates are absolute.
    void MiddleSnake(int a0, int a1, int b0, int b1, int& x0, int& y0, int& x1, int& y1)
    {
        const int n = a1 - a0;
        const int m = b1 - b0;
        const int delta = n - m;
        const bool bOdd = (delta & 1) != 0;
        const int maxD = (n + m + 1) / 2;
        // Diagonal k is stored at k + offset; k runs over -maxD-1 .. maxD+1.
        const int offset = maxD + 1;
        int* vf = m_Forward.data();
        int* vb = m_Backward.data();
        vf[offset + 1] = 0;
        vb[offset + 1] = 0;
        for (int d = 0; d <= maxD; ++d) {
            // Forward: furthest x on each diagonal k = x - y with d edits.
            for (int k = -d; k <= d; k += 2) {
                int x = (k == -d || (k != d && vf[offset + k - 1] < vf[offset + k + 1])) ? vf[offset + k + 1]
                                                                                         : vf[offset + k - 1] + 1;
                int y = x - k;
                const int sx = x, sy = y;
                while (x < n && y < m && m_A[a0 + x] == m_B[b0 + y]) {
                    ++x;
                    ++y;
                }
                vf[offset + k] = x;
                const int kr = delta - k;  // the same diagonal seen from the end
                if (bOdd && kr >= -(d - 1) && kr <= d - 1 && x >= n - vb[offset + kr]) {
                    x0 = a0 + sx;
                    y0 = b0 + sy;
                    x1 = a0 + x;
                    y1 = b0 + y;
                    return;
                }
            }
            // Backward: the same from the ends, x and y counted back.
            for (int k = -d; k <= d; k += 2) {
                int x = (k == -d || (k != d && vb[offset + k - 1] < vb[offset + k + 1])) ? vb[offset + k + 1]
                                                                                         : vb[offset + k - 1] + 1;
                int y = x - k;
                const int sx = x, sy = y;
                while (x < n && y < m && m_A[a1 - 1 - x] == m_B[b1 - 1 - y]) {
                    ++x;
                    ++y;
                }
                vb[offset + k] = x;
                const int kf = delta - k;
                if (!bOdd && kf >= -d && kf <= d && x >= n - vf[offset + kf]) {
                    x0 = a1 - x;
                    y0 = b1 - y;
                    x1 = a1 - sx;
                    y1 = b1 - sy;
                    return;
                }
            }
        }
        // Not reached: the paths meet after at most maxD steps each.
        x0 = x1 = a0;
        y0 = y1 = b0;
    }

    const std::vector<int>& m_A;
    const std::vector<int>& m_IA;
    const std::vector<int>& m_B;
    const std::vector<int>& m_IB;
    Pairs& m_Out;
    std::vector<int> m_Forward;
    std::vector<int> m_Backward;
};

}  // namespace

Pairs LongestCommonSubsequence(const std::vector<int>& a, const std::vector<int>& b)
{
    Pairs out;
    if (a.empty() || b.empty())
        return out;
    int top = 0;
    for (int v : a)
        top = std::max(top, v);
    for (int v : b)
        top = std::max(top, v);
    std::vector<std::uint8_t> seen(static_cast<std::size_t>(top) + 1, 0);
    for (int v : a)
        seen[v] |= 1;
    for (int v : b)
        seen[v] |= 2;

    std::vector<int> keptA, indexA, keptB, indexB;
    keptA.reserve(a.size());
    indexA.reserve(a.size());
    keptB.reserve(b.size());
    indexB.reserve(b.size());
    for (int i = 0; i < static_cast<int>(a.size()); ++i)
        if (seen[a[i]] == 3) {
            keptA.push_back(a[i]);
            indexA.push_back(i);
        }
    for (int j = 0; j < static_cast<int>(b.size()); ++j)
        if (seen[b[j]] == 3) {
            keptB.push_back(b[j]);
            indexB.push_back(j);
        }
    CMyers myers(keptA, indexA, keptB, indexB, out);
    myers.Run(0, static_cast<int>(keptA.size()), 0, static_cast<int>(keptB.size()));
    return out;
}

}  // namespace seqdiff

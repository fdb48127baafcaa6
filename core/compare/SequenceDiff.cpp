#include "core/compare/SequenceDiff.h"

#include <algorithm>
#include <cstdint>

namespace seqdiff {

namespace {

using Pairs = std::vector<std::pair<int, int>>;

// The kept elements of both sequences, a and b their values, ia and ib
// their indexes in the caller's sequences, and the matches found so far.
class CMatcher {
protected:
    CMatcher(const std::vector<int>& a, const std::vector<int>& ia, const std::vector<int>& b,
             const std::vector<int>& ib, Pairs& out)
        : m_A(a), m_IA(ia), m_B(b), m_IB(ib), m_Out(out)
    {
    }

    void Match(int x, int y) { m_Out.emplace_back(m_IA[x], m_IB[y]); }

    // Matches the common head and tail of a[a0 .. a1) and b[b0 .. b1) at
    // once, as nothing cheaper can replace them, and hands what lies between
    // to inner where both parts are left; the matches stay in order.
    template <class FInner>
    void MatchAround(int a0, int a1, int b0, int b1, FInner inner)
    {
        while (a0 < a1 && b0 < b1 && m_A[a0] == m_B[b0])
            Match(a0++, b0++);
        int tail = 0;
        while (a0 < a1 && b0 < b1 && m_A[a1 - 1] == m_B[b1 - 1]) {
            --a1;
            --b1;
            ++tail;
        }
        if (a0 < a1 && b0 < b1)
            inner(a0, a1, b0, b1);
        for (int k = 0; k < tail; ++k)
            Match(a1 + k, b1 + k);
    }

    const std::vector<int>& m_A;
    const std::vector<int>& m_IA;
    const std::vector<int>& m_B;
    const std::vector<int>& m_IB;
    Pairs& m_Out;
};

// One run of the algorithm over the kept elements.
class CMyers : private CMatcher {
public:
    CMyers(const std::vector<int>& a, const std::vector<int>& ia, const std::vector<int>& b,
           const std::vector<int>& ib, long long nBudget, Pairs& out)
        : CMatcher(a, ia, b, ib, out), m_nBudget(nBudget)
    {
        const std::size_t size = a.size() + b.size() + 5;
        m_Forward.resize(size);
        m_Backward.resize(size);
    }

    // False when the work allowed ran out before the end.
    bool Finished() const { return m_nBudget >= 0; }

    // Matches of a[a0 .. a1) against b[b0 .. b1), appended in order.
    void Run(int a0, int a1, int b0, int b1)
    {
        MatchAround(a0, a1, b0, b1, [this](int a0, int a1, int b0, int b1) {
            // Both parts differ at both ends, so at least two edits remain
            // and both halves around the middle snake need fewer than the
            // whole.
            int x0, y0, x1, y1;
            if (!MiddleSnake(a0, a1, b0, b1, x0, y0, x1, y1))
                return;
            Run(a0, x0, b0, y0);
            for (int x = x0, y = y0; x < x1; ++x, ++y)
                Match(x, y);
            Run(x1, a1, y1, b1);
        });
    }

private:
    // A snake (x0, y0) -> (x1, y1) that lies on a shortest edit path of
    // a[a0 .. a1) and b[b0 .. b1); coordinates are absolute.
    bool MiddleSnake(int a0, int a1, int b0, int b1, int& x0, int& y0, int& x1, int& y1)
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
            // Each round looks at 2d + 2 diagonals.
            m_nBudget -= 2 * d + 2;
            if (m_nBudget < 0)
                return false;
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
                    return true;
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
                    return true;
                }
            }
        }
        // Not reached: the paths meet after at most maxD steps each.
        x0 = x1 = a0;
        y0 = y1 = b0;
        return true;
    }

    std::vector<int> m_Forward;
    std::vector<int> m_Backward;
    long long m_nBudget;
};

// The same result for sequences that differ too much for the above: the
// longest common subsequence split in halves (Hirschberg), each half's
// lengths found with the bit-parallel rows of Allison, Dix and Hyyro, 64
// columns a machine word. O(N * M / 64) whatever the number of edits.
class CBitRows : private CMatcher {
public:
    CBitRows(const std::vector<int>& a, const std::vector<int>& ia, const std::vector<int>& b,
             const std::vector<int>& ib, int top, Pairs& out)
        : CMatcher(a, ia, b, ib, out), m_Count(top + 1, 0), m_Cursor(top + 1, 0),
          m_Frequent(top + 1, -1)
    {
    }

    void Run(int a0, int a1, int b0, int b1)
    {
        MatchAround(a0, a1, b0, b1, [this](int a0, int a1, int b0, int b1) {
            if (a1 - a0 == 1) {
                for (int j = b0; j < b1; ++j)
                    if (m_B[j] == m_A[a0]) {
                        Match(a0, j);
                        break;
                    }
                return;
            }
            // The split of b that gives both halves of a the most.
            const int mid = a0 + (a1 - a0) / 2;
            std::vector<int> forward, backward;
            Lengths(a0, mid, b0, b1, false, forward);
            Lengths(mid, a1, b0, b1, true, backward);
            const int m = b1 - b0;
            int best = -1, split = 0;
            for (int j = 0; j <= m; ++j)
                if (forward[j] + backward[m - j] > best) {
                    best = forward[j] + backward[m - j];
                    split = j;
                }
            Run(a0, mid, b0, b0 + split);
            Run(mid, a1, b0 + split, b1);
        });
    }

private:
    // lengths[j], j = 0 .. m: the longest common subsequence of a[a0 .. a1)
    // with the first j elements of b[b0 .. b1); both read from their ends
    // when bReverse is set.
    void Lengths(int a0, int a1, int b0, int b1, bool bReverse, std::vector<int>& lengths)
    {
        const int m = b1 - b0;
        const int words = (m + 63) / 64;
        auto bAt = [&](int p) { return m_B[bReverse ? b1 - 1 - p : b0 + p]; };

        // The positions of each element in b, grouped by element.
        std::vector<int> touched;
        for (int p = 0; p < m; ++p)
            if (m_Count[bAt(p)]++ == 0)
                touched.push_back(bAt(p));
        int start = 0;
        for (int v : touched) {
            m_Cursor[v] = start;
            start += m_Count[v];
        }
        std::vector<int> positions(m);
        for (int p = 0; p < m; ++p)
            positions[m_Cursor[bAt(p)]++] = p;
        // m_Cursor[v] now marks the end of v's positions.

        // Elements that fill more than one position a word get their match
        // word kept (at most 64 of them); the others are set and cleared
        // for each use, which costs no more than a word each.
        std::vector<std::uint64_t> frequent;
        int nFrequent = 0;
        for (int v : touched)
            if (m_Count[v] > words) {
                m_Frequent[v] = nFrequent++;
                frequent.resize(static_cast<std::size_t>(nFrequent) * words, 0);
                std::uint64_t* mask = &frequent[static_cast<std::size_t>(m_Frequent[v]) * words];
                for (int k = m_Cursor[v] - m_Count[v]; k < m_Cursor[v]; ++k)
                    mask[positions[k] >> 6] |= std::uint64_t(1) << (positions[k] & 63);
            }

        std::vector<std::uint64_t> row(words, ~std::uint64_t(0));
        std::vector<std::uint64_t> scratch(words, 0);
        for (int k = 0; k < a1 - a0; ++k) {
            const int v = m_A[bReverse ? a1 - 1 - k : a0 + k];
            if (m_Count[v] == 0)
                continue;
            const std::uint64_t* match;
            if (m_Frequent[v] >= 0) {
                match = &frequent[static_cast<std::size_t>(m_Frequent[v]) * words];
            } else {
                for (int q = m_Cursor[v] - m_Count[v]; q < m_Cursor[v]; ++q)
                    scratch[positions[q] >> 6] |= std::uint64_t(1) << (positions[q] & 63);
                match = scratch.data();
            }
            // row = (row + (row & match)) | (row & ~match), carried across words.
            std::uint64_t carry = 0;
            for (int w = 0; w < words; ++w) {
                const std::uint64_t u = row[w] & match[w];
                const std::uint64_t t = row[w] + carry;
                const std::uint64_t c1 = t < carry ? 1 : 0;
                const std::uint64_t sum = t + u;
                carry = c1 | (sum < u ? 1 : 0);
                row[w] = sum | (row[w] & ~match[w]);
            }
            if (m_Frequent[v] < 0)
                for (int q = m_Cursor[v] - m_Count[v]; q < m_Cursor[v]; ++q)
                    scratch[positions[q] >> 6] = 0;
        }
        // A zero bit is one more element of the common subsequence.
        lengths.assign(m + 1, 0);
        for (int p = 0; p < m; ++p)
            lengths[p + 1] = lengths[p] + static_cast<int>(((row[p >> 6] >> (p & 63)) & 1) ^ 1);

        for (int v : touched) {
            m_Count[v] = 0;
            m_Frequent[v] = -1;
        }
    }

    std::vector<int> m_Count;
    std::vector<int> m_Cursor;
    std::vector<int> m_Frequent;
};

}  // namespace

Pairs LongestCommonSubsequence(const std::vector<int>& a, const std::vector<int>& b, long long nBudget)
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
    const int n = static_cast<int>(keptA.size());
    const int m = static_cast<int>(keptB.size());
    // Myers' algorithm while it costs less than the bit rows would.
    if (nBudget < 0)
        nBudget = std::max<long long>(1 << 20, static_cast<long long>(n) * m / 128);
    CMyers myers(keptA, indexA, keptB, indexB, nBudget, out);
    myers.Run(0, n, 0, m);
    if (!myers.Finished()) {
        out.clear();
        CBitRows rows(keptA, indexA, keptB, indexB, top, out);
        rows.Run(0, n, 0, m);
    }
    return out;
}

}  // namespace seqdiff

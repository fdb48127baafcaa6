// Both alignments (the Myers diff, and the bit-parallel rows it hands over
// to when the differences are too many) against the plain quadratic table:
// the same length on random sequences, and a valid common subsequence every
// time.
#include <gtest/gtest.h>

#include <random>

#include "core/compare/SequenceDiff.h"

namespace {

int PlainLcsLength(const std::vector<int>& a, const std::vector<int>& b)
{
    std::vector<std::vector<int>> t(a.size() + 1, std::vector<int>(b.size() + 1, 0));
    for (std::size_t i = 1; i <= a.size(); ++i)
        for (std::size_t j = 1; j <= b.size(); ++j)
            t[i][j] = a[i - 1] == b[j - 1] ? t[i - 1][j - 1] + 1 : std::max(t[i - 1][j], t[i][j - 1]);
    return t[a.size()][b.size()];
}

void ExpectValid(const std::vector<int>& a, const std::vector<int>& b,
                 const std::vector<std::pair<int, int>>& pairs)
{
    for (std::size_t k = 0; k < pairs.size(); ++k) {
        ASSERT_EQ(a[pairs[k].first], b[pairs[k].second]);
        if (k > 0) {
            ASSERT_LT(pairs[k - 1].first, pairs[k].first);
            ASSERT_LT(pairs[k - 1].second, pairs[k].second);
        }
    }
}

}  // namespace

TEST(SequenceDiff, MatchesThePlainTableOnRandomSequences)
{
    std::mt19937 rng(17);
    for (int round = 0; round < 1500; ++round) {
        const int alphabet = 1 + static_cast<int>(rng() % 6);
        // Every tenth pair is long enough to span several machine words.
        std::vector<int> a(rng() % (round % 10 == 0 ? 300 : 40)), b;
        for (int& v : a)
            v = static_cast<int>(rng() % alphabet);
        // Mostly a few edits of a, sometimes an unrelated sequence.
        if (rng() % 4 == 0) {
            b.resize(rng() % (round % 10 == 0 ? 300 : 40));
            for (int& v : b)
                v = static_cast<int>(rng() % alphabet);
        } else {
            b = a;
            for (int e = static_cast<int>(rng() % 5); e > 0; --e) {
                const std::size_t at = b.empty() ? 0 : rng() % (b.size() + 1);
                if (rng() % 2 && at < b.size())
                    b.erase(b.begin() + at);
                else
                    b.insert(b.begin() + at, static_cast<int>(rng() % (alphabet + 2)));
            }
        }
        const int expected = PlainLcsLength(a, b);
        for (long long budget : {-1LL, 0LL, 40LL}) {
            const auto pairs = seqdiff::LongestCommonSubsequence(a, b, budget);
            ExpectValid(a, b, pairs);
            ASSERT_EQ(static_cast<int>(pairs.size()), expected) << "round " << round << " budget " << budget;
        }
    }
}

TEST(SequenceDiff, EmptyAndDisjointSequences)
{
    EXPECT_TRUE(seqdiff::LongestCommonSubsequence({}, {1, 2}).empty());
    EXPECT_TRUE(seqdiff::LongestCommonSubsequence({1, 2}, {}).empty());
    EXPECT_TRUE(seqdiff::LongestCommonSubsequence({1, 2, 3}, {4, 5}).empty());
    const std::vector<std::pair<int, int>> same = {{0, 0}, {1, 1}};
    EXPECT_EQ(seqdiff::LongestCommonSubsequence({7, 8}, {7, 8}), same);
}

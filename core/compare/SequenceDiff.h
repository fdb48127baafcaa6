// The longest common subsequence of two sequences of small non-negative
// integers (interned keys, character codes), found with Myers' difference
// algorithm in its linear-space form: O((N + M) * D) time, where D is the
// number of insertions and deletions, and O(N + M) memory. Elements that
// occur in only one of the sequences can never be matched; they are set
// aside first, so that two entirely different sequences cost no more than
// reading them. Sequences that differ almost everywhere while sharing their
// elements (a long item re-sorted) would make D large; past a bound the
// alignment is finished with bit-parallel rows instead, O(N * M / 64).
#pragma once

#include <utility>
#include <vector>

namespace seqdiff {

// Index pairs (i, j) with a[i] == b[j], increasing in both, as many as any
// common subsequence can have. nBudget bounds the work of the diff (in
// diagonals looked at); past it, a method that costs N * M / 64 whatever
// the differences finishes the job. -1 chooses the bound by the sizes.
std::vector<std::pair<int, int>> LongestCommonSubsequence(const std::vector<int>& a, const std::vector<int>& b,
                                                          long long nBudget = -1);

}  // namespace seqdiff

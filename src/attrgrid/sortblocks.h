#pragma once

#include "attrgrid/records.h"

#include <cstddef>
#include <vector>

// Mode 0: x ascending; 1: y descending; 2: unchanged; 3 or more: 1 when
// the points spread at least as far in y as in x, else 0. The order is
// that of the exchange sort, equal keys included.
void SortBlocks(std::vector<nBlk> &list, int mode);

// The exchange sort's result as a permutation: position i of the sorted
// list takes element order[i]. Ascending swaps a pair when the first key
// is greater, descending when it is smaller.
std::vector<std::size_t> exchangeSortOrder(const std::vector<double> &keys, bool descending);

#include "attrgrid/gridtools.h"

#include "cells/clipboardrules.h"

#include "tools/replace.h"
#include "tools/width.h"

#include <algorithm>

namespace attrgrid {

namespace {

template <class F>
int eachCell(cells::CellGrid &grid, cells::TUndoCells &undo, int &counter, const cells::Selection &sel, F convert)
{
    cells::CellOperation op(grid, undo);
    for (int r = sel.top; r <= sel.bottom; ++r)
        for (int c = sel.left; c <= sel.right; ++c)
            op.change(c, r, convert(grid.cellText(c, r)));
    counter = op.counter();
    return op.count();
}

}  // namespace

int FullWidthCells(cells::CellGrid &grid, cells::TUndoCells &undo, int &counter, const cells::Selection &sel)
{
    return eachCell(grid, undo, counter, sel, [](std::u16string text) {
        tools::AllToZen(text);
        std::replace(text.begin(), text.end(), u'\u3000', u' ');
        return text;
    });
}

int HalfWidthCells(cells::CellGrid &grid, cells::TUndoCells &undo, int &counter, const cells::Selection &sel)
{
    return eachCell(grid, undo, counter, sel, [](std::u16string text) {
        tools::AllToHan(text);
        return text;
    });
}

int ReplaceCells(cells::CellGrid &grid, cells::TUndoCells &undo, int &counter, const cells::Selection &sel,
                 const std::u16string &search, const std::u16string &replacement)
{
    if (search.empty())
        return 0;
    return eachCell(grid, undo, counter, sel,
                    [&](const std::u16string &text) { return tools::replaceAll(text, search, replacement, false); });
}

int AddToCells(cells::CellGrid &grid, cells::TUndoCells &undo, int &counter, const cells::Selection &sel,
               const tools::AdditionOptions &options)
{
    if (options.addend == 0)
        return 0;
    cells::CellOperation op(grid, undo);
    for (int r = sel.top; r <= sel.bottom; ++r)
        for (int c = sel.left; c <= sel.right; ++c)
            if (auto result = tools::addToNumber(grid.cellText(c, r), options))
                op.change(c, r, std::move(*result));
    counter = op.counter();
    return op.count();
}

SerialRows serialRows(const cells::Selection &sel, int currentRow, int lastRow)
{
    if (sel.top == sel.bottom)
        return {currentRow, lastRow};
    return {sel.top, sel.bottom};
}

int SerialIntoColumn(cells::CellGrid &grid, cells::TUndoCells &undo, int &counter, int col, SerialRows rows,
                     const tools::SerialRun &run)
{
    cells::CellOperation op(grid, undo);
    // The count has no upper limit; only the rows bound the loop.
    const long long available = std::max(0LL, (long long)rows.last - rows.first + 1);
    const long long n = std::min<long long>(std::max(run.count, 0), available);
    for (long long k = 0; k < n; ++k)
        op.change(col, int(rows.first + k), tools::serialString(run, std::int32_t(k)));
    counter = op.counter();
    return op.count();
}

}  // namespace attrgrid

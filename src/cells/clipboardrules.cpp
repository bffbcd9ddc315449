#include "cells/clipboardrules.h"

namespace cells {

bool CellOperation::change(int col, int row, std::u16string text)
{
    if (!m_undo.Add(m_grid, col, row))
        return false;
    m_grid.setCellText(col, row, std::move(text));
    ++m_count;
    return true;
}

std::u16string CopyText(const CellGrid &grid, const Selection &sel)
{
    std::u16string out;
    for (int r = sel.top; r <= sel.bottom; ++r) {
        for (int c = sel.left; c <= sel.right; ++c) {
            out += grid.cellText(c, r);
            out += c != sel.right ? u"\t" : u"\r\n";
        }
    }
    return out;
}

std::vector<std::u16string> ClipboardLines(std::u16string_view text)
{
    std::vector<std::u16string> lines;
    for (;;) {
        const auto end = text.find(u"\r\n");
        if (end == std::u16string_view::npos)
            break;
        lines.emplace_back(text.substr(0, end));
        text.remove_prefix(end + 2);
    }
    return lines;
}

std::vector<std::u16string> LinePieces(std::u16string_view line)
{
    std::vector<std::u16string> pieces;
    for (;;) {
        const auto tab = line.find(u'\t');
        pieces.emplace_back(line.substr(0, tab));
        if (tab == std::u16string_view::npos)
            break;
        line.remove_prefix(tab + 1);
    }
    return pieces;
}

int ClearCells(CellGrid &grid, TUndoCells &undo, const Selection &sel)
{
    CellOperation op(grid, undo);
    for (int r = sel.top; r <= sel.bottom; ++r)
        for (int c = sel.left; c <= sel.right; ++c)
            op.change(c, r, std::u16string());
    return op.count();
}

int PasteText(CellGrid &grid, TUndoCells &undo, const Selection &sel, std::u16string_view text)
{
    CellOperation op(grid, undo);
    const std::vector<std::u16string> lines = ClipboardLines(text);
    const int n = int(lines.size());
    for (int i = 0; i < n; ++i) {
        const std::vector<std::u16string> pieces = LinePieces(lines[std::size_t(i)]);
        for (int j = 0; j < int(pieces.size()); ++j) {
            const int col = sel.left + j;
            if (col >= grid.colCount())
                break;  // the rest of the line lies beyond the last column
            const std::u16string &piece = pieces[std::size_t(j)];
            op.change(col, sel.top + i, piece);
            for (long long row = sel.top + i + n; row <= sel.bottom; row += n)
                op.change(col, int(row), piece);
        }
    }
    return op.count();
}

}  // namespace cells

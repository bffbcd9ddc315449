#include "cells/cellmatrix.h"

#include <algorithm>

namespace cells {

namespace {
const Cell kNoCell;
}

Cell *CellMatrix::at(int col, int row)
{
    if (!inside(col, row))
        return nullptr;
    return &m_cells[std::size_t(row) * std::size_t(m_cols) + std::size_t(col)];
}

const Cell &CellMatrix::cell(int col, int row) const
{
    if (!inside(col, row))
        return kNoCell;
    return m_cells[std::size_t(row) * std::size_t(m_cols) + std::size_t(col)];
}

std::u16string CellMatrix::cellText(int col, int row) const
{
    return cell(col, row).text;
}

void CellMatrix::setCellText(int col, int row, std::u16string text)
{
    if (Cell *c = at(col, row)) {
        c->text = std::move(text);
        if (onTextChanged)
            onTextChanged(col, row);
    }
}

void CellMatrix::setRef(int col, int row, std::int32_t ref)
{
    if (Cell *c = at(col, row))
        c->ref = ref;
}

void CellMatrix::setCurrentCol(int col)
{
    if (col < 0 || col >= m_cols || col == m_col)
        return;
    m_col = col;
    if (onCurrentChanged)
        onCurrentChanged();
}

void CellMatrix::setCurrentRow(int row)
{
    if (row < 0 || row >= m_rows || row == m_row)
        return;
    m_row = row;
    if (onCurrentChanged)
        onCurrentChanged();
}

void CellMatrix::resize(int cols, int rows)
{
    cols = std::max(cols, 0);
    rows = std::max(rows, 0);
    if (cols == m_cols && rows == m_rows)
        return;
    std::vector<Cell> cells(std::size_t(cols) * std::size_t(rows));
    const int keepCols = std::min(cols, m_cols), keepRows = std::min(rows, m_rows);
    for (int r = 0; r < keepRows; ++r)
        for (int c = 0; c < keepCols; ++c)
            cells[std::size_t(r) * std::size_t(cols) + std::size_t(c)]
                = std::move(m_cells[std::size_t(r) * std::size_t(m_cols) + std::size_t(c)]);
    m_cells = std::move(cells);
    m_cols = cols;
    m_rows = rows;
    m_col = std::clamp(m_col, 0, std::max(cols - 1, 0));
    m_row = std::clamp(m_row, 0, std::max(rows - 1, 0));
}

void CellMatrix::clear()
{
    for (Cell &c : m_cells) {
        c.text.clear();
        c.ref = 0;
    }
}

}  // namespace cells

#pragma once

#include "cells/cellmatrix.h"
#include "cells/undocells.h"

#include "cad/variant.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One picked block reference; grid row r belongs to blkList[r - 1].
struct nBlk {
    std::u16string sHnd;     // Handle, turned back by HandleToObject
    cad::Variant insPt;      // InsertionPoint; sorts the rows
    std::u16string lay;      // Layer
    std::int32_t index = 0;  // position in blkList when appended
    std::u16string blkName;  // Name
};

// One attribute shown in a grid cell; a cell with reference k >= 1 shows
// attList[k - 1].
struct nAtt {
    std::u16string sHnd;  // the attribute's Handle
    std::u16string text;  // TextString as last fetched or written
    cad::Variant insPt;   // InsertionPoint; target of the view centring
    std::u16string lay;   // Layer
};

// The attribute tab's records and cells. Row 0 and column 0 of `cells`
// are the fixed headers; each cell's ref is its attribute reference.
struct AttrGridData {
    std::vector<nBlk> blkList;
    std::vector<nAtt> attList;
    cells::CellMatrix cells{5, 5};
    cells::TUndoCells FUndoCells;  // StringGrid1's cell undo list

    // The record a cell's reference names, or nullptr (no reference, an
    // empty attList, or a reference past its end).
    const nAtt *record(int col, int row) const;
    nAtt *record(int col, int row);
    // A cell whose text differs from its record's text.
    bool changed(int col, int row) const;
};

// One line of the tag set list: the tags after the set name, and the
// block-name pattern of the set name ("*" when it has none).
struct AttrSet {
    std::vector<std::u16string> tags;
    std::u16string blockPattern = u"*";
    // Columns of the grid: the set name's column and one per tag; a set
    // without tags still keeps one data column.
    int columns() const { return tags.empty() ? 2 : int(tags.size()) + 1; }
};

// The set of one line of the tag set list (split as parseTagSet does).
AttrSet attrSetOfLine(std::u16string_view line);

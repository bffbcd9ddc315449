#pragma once

#include "cad/variant.h"

#include <cstdint>
#include <string>
#include <vector>

// One line of the line editor and the CAD entity it came from. Editor line
// i belongs to textList[i].
struct Talvo {
    std::u16string sHnd;        // entity handle; empty: the line has no entity
    std::u16string text;        // string as fetched
    cad::Variant insPt;         // x, y, z by the positioning rule; empty: no point
    std::int32_t txtAli = 0;    // Alignment; 0 places by InsertionPoint
    std::u16string lay;         // layer
    std::int32_t index = 0;     // position in pick order
    std::u16string parentType;  // "INSERT" for attribute records
    std::u16string parentHnd;   // block reference of an attribute
    std::int64_t parentId = 0;  // ObjectId of that block reference
    std::u16string parentName;
    bool locked = false;
};

// Mode 0: x ascending; 1: y descending; 2: unchanged; 3 or more: 0 or 1
// by the wider spread (ties sort by y). Exchange sort, exact comparisons.
void SortTexts(std::vector<Talvo> &list, int mode);

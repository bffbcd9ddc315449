#pragma once

#include "cad/variant.h"

#include <cstdint>
#include <string>
#include <vector>

// One TEXT found by the search. Row r of the result grid names record r
// by its record number r + 1.
struct Talvo2 {
    std::u16string sHnd;     // entity handle, found again by HandleToObject
    std::u16string text;     // string as fetched; after a write, the string written
    cad::Variant insPt;      // InsertionPoint; refreshed after a write
    std::u16string lay;      // layer
    std::int32_t index = 0;  // position in the selection set
    bool locked = false;     // on a layer locked at search time
};

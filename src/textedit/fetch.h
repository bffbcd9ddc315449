#pragma once

#include "textedit/talvo.h"
#include "textedit/textrules.h"

#include "cad/object.h"

#include <functional>
#include <string>
#include <vector>

// What a TEXT pick gave. total <= 0: nothing was picked, and the caller
// keeps its records and lines as they were.
struct TextFetch {
    int total = 0;               // picked entities
    std::vector<Talvo> records;  // kept ones (not on a locked layer), final order
    int excluded() const { return total - int(records.size()); }
};

// Picks TEXT entities through "SSTEMP" and reads them; the set is cleared
// and deleted on every path. `pump` runs once per kept text.
TextFetch FetchTexts(const cad::Object &doc, bool sortByCoordinates, const PumpFn &pump);

// Tab-separated names of the locked layers, with a tab at both ends.
std::u16string lockedLayerList(const cad::Object &doc);

// The tag of a tag list entry: the text before its first ':'.
std::u16string tagOfEntry(const std::u16string &entry);
// The block-name filter of a tag list entry: the text in the first [...]
// after its first ':', else "*".
std::u16string blockPatternOfEntry(const std::u16string &entry);

struct AttrFetch {
    int blocks = 0;  // picked block references
    std::u16string tag;
    std::vector<Talvo> records;  // one per attribute with that tag
};

// Picks block references and takes every attribute of the entry's tag.
// `label` receives the progress texts of Label2.
AttrFetch FetchAttributes(const cad::Object &doc, const std::u16string &entry, bool sortByCoordinates,
                          const std::function<void(const std::u16string &)> &label);

#pragma once

#include "search/talvo2.h"

#include "cad/object.h"

#include <functional>
#include <string>
#include <vector>

// The text search: every TEXT of the drawing whose string matches a
// wildcard pattern, sorted by string. Plain code over cad::Object; the
// page passes its label, the message pump and the abort flag.

using LabelFn = std::function<void(const std::u16string &)>;
using PumpFn = std::function<void()>;

inline constexpr const char16_t *kIdlePatternLabel = u"検索 (部分一致)";

// The pattern sent to the CAD: the field's text as typed (not trimmed);
// empty → "*", head match → text + "*", else "*" + text + "*".
std::u16string SearchPattern(const std::u16string &fieldText, bool headMatch);
// "[" + pattern + "] (部分一致)", also with head match.
std::u16string PatternLabel(const std::u16string &pattern);

// Names of the drawing's locked layers, in layer order.
std::vector<std::u16string> LockedLayerNames(const cad::Object &doc);

// Sets `locked` on records whose layer is exactly one of `lockedLayers`
// (a layer whose name merely contains a locked one's is not locked).
void MarkLocked(std::vector<Talvo2> &list, const std::vector<std::u16string> &lockedLayers);

// Sorts by text, ordinal over UTF-16 code units, in the order of the
// program's exchange sort (equal texts included). The label shows the
// progress at most about 100 times, then is cleared.
void SortSearchResults(std::vector<Talvo2> &list, const LabelFn &label, const PumpFn &pump);

struct SearchFetch {
    bool completed = false;  // ran to its end; false: aborted through runFlag
    std::vector<std::u16string> lockedLayers;
    std::vector<Talvo2> records;  // selection order
};

// Locked layers, then Select mode 5 over "SSTEMP" with the filter TEXT and
// `pattern` (a failing Select counts as no match), then each entity's
// record. `label` shows "TEXT = n" and the progress "i / n" at most about
// 100 times; `pump` runs before each entity, after which a cleared
// `runFlag` ends the fetch. The set is cleared and deleted on every path;
// other CAD errors are raised.
SearchFetch FetchMatchingTexts(const cad::Object &doc, const std::u16string &pattern, const LabelFn &label,
                               const PumpFn &pump, const bool &runFlag);

enum class SearchEnd {
    NoCad,      // no CAD running: nothing fetched, the list emptied
    Aborted,    // runFlag cleared: the list emptied
    Completed,  // the list holds the sorted results
};

struct SearchUi {
    LabelFn label6;  // counts and progress
    LabelFn label7;  // the pattern sent
    PumpFn pump;     // lets pending window messages run
};

// The whole search over the running CAD: attach, activate (no minimising,
// Escape), fetch, bring the CAD to the front again with Escape, and on
// completion sort and mark locked records into `list`. The main window is
// brought to the front on every path. A CAD error empties `list` and is
// raised (the set is cleaned up first).
SearchEnd RunSearch(const std::u16string &fieldText, bool headMatch, std::vector<Talvo2> &list, bool &runFlag,
                    const SearchUi &ui);

#include "attrgrid/records.h"

#include "attrgrid/tagset.h"

#include <utility>

const nAtt *AttrGridData::record(int col, int row) const
{
    const std::int32_t k = cells.ref(col, row);
    if (k < 1 || attList.empty() || std::size_t(k) > attList.size())
        return nullptr;
    return &attList[std::size_t(k - 1)];
}

nAtt *AttrGridData::record(int col, int row)
{
    return const_cast<nAtt *>(std::as_const(*this).record(col, row));
}

bool AttrGridData::changed(int col, int row) const
{
    const nAtt *r = record(col, row);
    return r && r->text != cells.cellText(col, row);
}

AttrSet attrSetOfLine(std::u16string_view line)
{
    TagSet parsed = parseTagSet(line);
    AttrSet set;
    set.tags = std::move(parsed.tags);
    set.blockPattern = std::move(parsed.blockPattern);
    return set;
}

#include "attrgrid/tagset.h"

std::vector<std::u16string> splitTagSetFields(std::u16string_view line)
{
    std::vector<std::u16string> fields;
    std::size_t i = 0;
    const std::size_t n = line.size();
    while (true) {
        std::u16string field;
        if (i < n && line[i] == u'"') {
            ++i;
            while (i < n) {
                if (line[i] == u'"') {
                    if (i + 1 < n && line[i + 1] == u'"') {
                        field += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;  // closing quote
                    break;
                }
                field += line[i++];
            }
        }
        while (i < n && line[i] != u',')
            field += line[i++];
        fields.push_back(std::move(field));
        if (i >= n)
            break;
        ++i;  // the comma; a trailing one yields the empty last field
    }
    return fields;
}

TagSet parseTagSet(std::u16string_view line)
{
    TagSet set;
    std::vector<std::u16string> fields = splitTagSetFields(line);
    set.name = std::move(fields.front());
    set.tags.assign(std::make_move_iterator(fields.begin() + 1), std::make_move_iterator(fields.end()));
    const std::size_t open = set.name.find(u'[');
    const std::size_t close = set.name.find(u']');
    if (open != std::u16string::npos && close != std::u16string::npos && close > open + 1)
        set.blockPattern = set.name.substr(open + 1, close - open - 1);
    return set;
}

// The tag set line parser on arbitrary UTF-16 text.
#include "attrgrid/tagset.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::u16string line(size / 2, u'\0');
    for (std::size_t i = 0; i < line.size(); ++i)
        line[i] = char16_t(data[2 * i] | (data[2 * i + 1] << 8));
    const TagSet set = parseTagSet(line);
    std::size_t chars = set.name.size();
    for (const auto &t : set.tags)
        chars += t.size();
    // Fields never hold more characters than the line.
    if (chars > line.size() || set.blockPattern.empty())
        __builtin_trap();
    return 0;
}

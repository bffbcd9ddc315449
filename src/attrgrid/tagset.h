#pragma once

#include <string>
#include <string_view>
#include <vector>

// One line of the tag set file: the set name, then the attribute tags.
struct TagSet {
    std::u16string name;
    std::vector<std::u16string> tags;
    // Block names the set's pick accepts (selection-filter wildcards);
    // "*" when the name holds no pattern.
    std::u16string blockPattern = std::u16string(1, u'*');
};

// Splits a tag set line at every comma (blanks belong to the fields). A
// field that starts with a double quote runs to its closing quote and may
// hold commas; a doubled quote inside stands for one quote; text after the
// closing quote up to the next comma is kept; an unclosed quote runs to
// the end of the line. A comma at the end gives a last empty field. The
// block-name pattern is the text between the first "[" of the name and the
// first "]" when that "]" lies at least two characters further on.
TagSet parseTagSet(std::u16string_view line);

// The fields alone, as parseTagSet splits them.
std::vector<std::u16string> splitTagSetFields(std::u16string_view line);

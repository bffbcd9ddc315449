#include "tools/linecommands.h"

#include "tools/width.h"

namespace tools {

void parenthesesToZen(std::u16string &line)
{
    for (char16_t &unit : line) {
        if (unit == u'(')
            unit = u'（';
        else if (unit == u')')
            unit = u'）';
    }
}

void convert(Conversion conversion, std::u16string &line)
{
    switch (conversion) {
    case Conversion::AllToZen: AllToZen(line); return;
    case Conversion::AllToHan: AllToHan(line); return;
    case Conversion::Parentheses: parenthesesToZen(line); return;
    case Conversion::HanKanaToZen: HanKanaToZen(line); return;
    case Conversion::ZenKanaToHan: ZenKanaToHan(line); return;
    case Conversion::HanDigitToZen: HanDigitToZen(line); return;
    case Conversion::ZenDigitToHan: ZenDigitToHan(line); return;
    case Conversion::HanNumToZen: HanNumToZen(line); return;
    case Conversion::ZenNumToHan: ZenNumToHan(line); return;
    case Conversion::HanAlphaToZen: HanAlphaToZen(line); return;
    case Conversion::ZenAlphaToHan: ZenAlphaToHan(line); return;
    case Conversion::HanSymbolToZen: HanSymbolToZen(line); return;
    case Conversion::ZenSymbolToHan: ZenSymbolToHan(line); return;
    }
}

std::size_t convertLines(Lines &lines, Conversion conversion, MessagePacer &pacer, const bool &running)
{
    return convertLines(
        lines,
        [conversion](std::u16string &line) {
            convert(conversion, line);
            return true;
        },
        pacer, running);
}

std::size_t replaceLines(Lines &lines, const ReplaceOptions &options, MessagePacer &pacer, const bool &running)
{
    return convertLines(
        lines,
        [&options](std::u16string &line) {
            line = replaceAll(line, options);
            return true;
        },
        pacer, running);
}

std::size_t addToLines(Lines &lines, const AdditionOptions &options, MessagePacer &pacer, const bool &running)
{
    return convertLines(
        lines,
        [&options](std::u16string &line) {
            std::optional<std::u16string> changed = addToNumber(line, options);
            if (!changed)
                return false;
            line = std::move(*changed);
            return true;
        },
        pacer, running);
}

Lines serialStrings(const SerialRun &run)
{
    Lines strings;
    if (run.count <= 0)
        return strings;
    strings.reserve(static_cast<std::size_t>(run.count));
    for (std::int32_t k = 0; k < run.count; ++k)
        strings.push_back(serialString(run, k));
    return strings;
}

LineSplit splitLines(std::u16string_view text)
{
    LineSplit split;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit != u'\r' && unit != u'\n')
            continue;
        const std::size_t breakLength = unit == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n' ? 2 : 1;
        split.lines.emplace_back(text.substr(start, i - start));
        split.breaks.emplace_back(text.substr(i, breakLength));
        i += breakLength - 1;
        start = i + 1;
    }
    split.lines.emplace_back(text.substr(start));
    split.breaks.emplace_back();
    return split;
}

std::u16string joinLines(const LineSplit &split)
{
    std::u16string text;
    for (std::size_t i = 0; i < split.lines.size(); ++i) {
        text += split.lines[i];
        if (i < split.breaks.size())
            text += split.breaks[i];
    }
    return text;
}

}  // namespace tools

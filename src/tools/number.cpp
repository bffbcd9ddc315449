#include "tools/number.h"

#include "base/strings.h"
#include "tools/tool_error.h"

#include <algorithm>

namespace tools {

namespace {

bool isDigit(char16_t unit)
{
    return unit >= u'0' && unit <= u'9';
}

int hexValue(char16_t unit)
{
    if (isDigit(unit))
        return unit - u'0';
    if (unit >= u'A' && unit <= u'F')
        return unit - u'A' + 10;
    if (unit >= u'a' && unit <= u'f')
        return unit - u'a' + 10;
    return -1;
}

// Two's complement wrap-around without signed overflow.
std::int32_t wrap(std::uint32_t value)
{
    return static_cast<std::int32_t>(value);
}

std::int32_t wrappingAdd(std::int32_t a, std::int32_t b)
{
    return wrap(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

std::u16string padded(std::u16string digits, int width, bool negative)
{
    if (width > 0 && digits.size() < static_cast<std::size_t>(width))
        digits.insert(0, static_cast<std::size_t>(width) - digits.size(), u'0');
    if (negative)
        digits.insert(digits.begin(), u'-');
    return digits;
}

// Digits of a magnitude in base 8 or 10; the empty text for 0.
std::u16string magnitudeDigits(std::uint32_t magnitude, std::uint32_t base)
{
    std::u16string digits;
    for (; magnitude != 0; magnitude /= base)
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + magnitude % base));
    return digits;
}

std::uint32_t magnitudeOf(std::int32_t value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    return value < 0 ? 0u - bits : bits;
}

std::optional<std::u16string> addDecimal(std::u16string_view text, const AdditionOptions &options)
{
    DigitSplit split = SplitDigitRun(text, options.fromEnd);
    if (split.number.empty())
        return std::nullopt;
    // A run beyond 32 bits is not a number we can add to; keep the text.
    const std::optional<std::int32_t> value = parseDecimal(split.number);
    if (!value)
        return std::nullopt;
    const std::int32_t sum = wrappingAdd(*value, options.addend);
    return split.head + intToDecimal(sum, static_cast<int>(split.number.size())) + split.tail;
}

std::optional<std::u16string> addLastDigits(std::u16string_view text, const AdditionOptions &options)
{
    const std::size_t n = static_cast<std::size_t>(std::clamp(options.digitCount, 1, 8));
    const std::size_t cut = text.size() > n ? text.size() - n : 0;
    const std::u16string_view head = text.substr(0, cut);
    const std::u16string_view candidate = text.substr(cut);
    std::u16string result(head);
    if (options.radix == Radix::Hexadecimal) {
        if (!IsHexText(candidate))
            return std::nullopt;
        // At most 8 hexadecimal digits always fit.
        const std::int32_t value = candidate.empty() ? 0 : *parseHex(candidate);
        result += intToHex(wrappingAdd(value, options.addend), static_cast<int>(n));
    } else {
        if (!IsOctText(candidate))
            return std::nullopt;
        result += IntToOct(wrappingAdd(OctToInt(candidate), options.addend), static_cast<int>(n));
    }
    return result;
}

}  // namespace

std::u16string_view radixCaption(Radix radix)
{
    switch (radix) {
    case Radix::Decimal: return u"10進";
    case Radix::Hexadecimal: return u"16進";
    case Radix::Octal: return u" 8進";
    }
    return {};
}

DigitSplit SplitDigitRun(std::u16string_view text, bool fromEnd)
{
    const std::u16string_view trimmed = base::trim(text);
    const auto *begin = trimmed.data();
    const auto *end = begin + trimmed.size();
    const auto *runBegin = end;
    const auto *runEnd = end;
    if (!fromEnd) {
        runBegin = std::find_if(begin, end, isDigit);
        runEnd = std::find_if_not(runBegin, end, isDigit);
    } else {
        const auto *p = end;
        while (p != begin && !isDigit(p[-1]))
            --p;
        runEnd = p;
        while (p != begin && isDigit(p[-1]))
            --p;
        runBegin = p;
        if (runBegin == runEnd)  // no digit: everything is head
            runBegin = runEnd = end;
    }
    return DigitSplit{std::u16string(begin, runBegin), std::u16string(runBegin, runEnd), std::u16string(runEnd, end)};
}

bool IsHexText(std::u16string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char16_t unit) { return hexValue(unit) >= 0; });
}

bool IsOctText(std::u16string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char16_t unit) { return unit >= u'0' && unit <= u'7'; });
}

std::int32_t IntPower(std::int32_t base, std::int32_t exponent)
{
    std::uint32_t result = 1;
    for (std::int32_t i = 0; i < exponent; ++i)
        result *= static_cast<std::uint32_t>(base);
    return wrap(result);
}

std::int32_t OctToInt(std::u16string_view text)
{
    std::uint32_t result = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!isDigit(text[i]))
            throw notAnIntegerError(text.substr(i, 1));
        const auto weight = static_cast<std::uint32_t>(IntPower(8, static_cast<std::int32_t>(text.size() - i - 1)));
        result += static_cast<std::uint32_t>(text[i] - u'0') * weight;
    }
    return wrap(result);
}

std::u16string IntToOct(std::int32_t value, int width)
{
    return padded(magnitudeDigits(magnitudeOf(value), 8), width, value < 0);
}

std::u16string intToDecimal(std::int32_t value, int width)
{
    std::u16string digits = magnitudeDigits(magnitudeOf(value), 10);
    if (digits.empty())
        digits = u"0";
    return padded(std::move(digits), width, value < 0);
}

std::u16string intToHex(std::int32_t value, int width)
{
    static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    std::u16string digits;
    for (auto bits = static_cast<std::uint32_t>(value); bits != 0; bits >>= 4)
        digits.insert(digits.begin(), kDigits[bits & 0xF]);
    if (digits.empty())
        digits = u"0";
    return padded(std::move(digits), width, false);
}

std::optional<std::int32_t> parseDecimal(std::u16string_view text)
{
    bool negative = false;
    if (!text.empty() && (text[0] == u'-' || text[0] == u'+')) {
        negative = text[0] == u'-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    std::uint64_t magnitude = 0;
    for (char16_t unit : text) {
        if (!isDigit(unit))
            return std::nullopt;
        magnitude = magnitude * 10 + static_cast<std::uint64_t>(unit - u'0');
        if (magnitude > 0x80000000u)
            return std::nullopt;
    }
    if (!negative && magnitude == 0x80000000u)
        return std::nullopt;
    return wrap(static_cast<std::uint32_t>(negative ? 0u - magnitude : magnitude));
}

std::optional<std::int32_t> parseHex(std::u16string_view text)
{
    if (text.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (char16_t unit : text) {
        const int digit = hexValue(unit);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<std::uint64_t>(digit);
        if (value > 0xFFFFFFFFu)
            return std::nullopt;
    }
    return wrap(static_cast<std::uint32_t>(value));
}

std::optional<std::u16string> addToNumber(std::u16string_view text, const AdditionOptions &options)
{
    if (options.addend == 0 || base::isBlank(text))
        return std::nullopt;
    if (options.radix == Radix::Decimal)
        return addDecimal(text, options);
    return addLastDigits(text, options);
}

}  // namespace tools

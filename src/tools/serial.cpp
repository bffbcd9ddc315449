#include "tools/serial.h"

#include "base/strings.h"
#include "tools/tool_error.h"

namespace tools {

namespace {

std::int32_t orDefault(const std::optional<std::int32_t> &value, std::int32_t fallback)
{
    return value ? *value : fallback;
}

std::int32_t readStart(const SerialFields &fields, SerialUse use)
{
    const std::int32_t fallback = use == SerialUse::Generation ? 1 : 0;
    switch (fields.radix) {
    case Radix::Decimal: return orDefault(parseDecimal(fields.start), fallback);
    case Radix::Hexadecimal: return orDefault(parseHex(fields.start), fallback);
    case Radix::Octal: return OctToInt(fields.start);
    }
    return fallback;
}

std::int32_t readCount(const SerialFields &fields, SerialUse use)
{
    const std::optional<std::int32_t> count = parseDecimal(fields.count);
    if (fields.start.empty()) {
        if (use == SerialUse::Preview)
            return orDefault(count, 0);
        if (!count)
            throw notAnIntegerError(fields.count);
        return *count;
    }
    if (use == SerialUse::Generation)
        return orDefault(count, 1);
    return orDefault(count, fields.radix == Radix::Decimal ? 0 : 1);
}

}  // namespace

SerialRun readSerialFields(const SerialFields &fields, SerialUse use)
{
    SerialRun run;
    run.prefix = fields.prefix;
    run.suffix = fields.suffix;
    run.fixedText = fields.start.empty();
    run.width = static_cast<int>(fields.start.size());
    run.radix = fields.radix;
    if (!run.fixedText)
        run.start = readStart(fields, use);
    run.step = orDefault(parseDecimal(fields.step), 1);
    run.count = readCount(fields, use);
    if (use == SerialUse::Generation && run.count > kMaxSerialCount)
        throw ToolError(u"作成数 " + intToDecimal(run.count, 0) + u" は多すぎます。" + intToDecimal(kMaxSerialCount, 0)
                        + u" 以下にしてください");
    return run;
}

std::u16string serialNumberText(const SerialRun &run, std::int32_t k)
{
    // 32-bit arithmetic that wraps instead of overflowing.
    const auto value = static_cast<std::int32_t>(
        static_cast<std::uint32_t>(run.start) + static_cast<std::uint32_t>(k) * static_cast<std::uint32_t>(run.step));
    switch (run.radix) {
    case Radix::Decimal: return intToDecimal(value, run.width);
    case Radix::Hexadecimal: return intToHex(value, run.width);
    case Radix::Octal: return IntToOct(value, run.width);
    }
    return {};
}

std::u16string serialString(const SerialRun &run, std::int32_t k)
{
    if (run.fixedText)
        return base::upperAscii(run.prefix + run.suffix);
    return base::upperAscii(run.prefix + serialNumberText(run, k) + run.suffix);
}

std::u16string serialPreview(const SerialFields &fields)
{
    const std::u16string first = fields.prefix + fields.start + fields.suffix;
    const SerialRun run = readSerialFields(fields, SerialUse::Preview);
    if (run.fixedText)
        return u"[ " + base::upperAscii(first) + u" ] x " + intToDecimal(run.count, 0);
    const auto lastItem = static_cast<std::int32_t>(static_cast<std::uint32_t>(run.count) - 1u);
    const std::u16string last = fields.prefix + serialNumberText(run, lastItem) + fields.suffix;
    return base::upperAscii(u"[ " + first + u" ] ～ [ " + last + u" ]");
}

}  // namespace tools

// The list reader on arbitrary bytes: whatever it decodes must come back
// unchanged from the bytes it writes.
#include "ui/textfile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const TextFileContent c = decodeText(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    TextFormat f = c.format;
    const QByteArray out = encodeText(c.lines, f);
    const TextFileContent back = decodeText(out);
    // Lines with U+FFFD from undecodable input come back as they are; a
    // lone CR inside a CR LF file is a line break on both sides.
    if (back.lines != c.lines)
        __builtin_trap();
    return 0;
}

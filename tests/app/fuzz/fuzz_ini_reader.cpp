// The settings reader on arbitrary bytes: decode, read every key, write
// all keys back and read them again.
#include "ui/textfile.h"
#include "app/inidocument.h"
#include "app/settings.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const TextFileContent c = decodeText(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    IniDocument ini(c.lines, c.format);
    const Settings s = readSettings(ini, QPoint(0, 0));
    writeSettings(ini, s);
    const Settings again = readSettings(IniDocument(ini.lines()), QPoint(0, 0));
    if (again.Left != s.Left || again.AttTagIndex1 != s.AttTagIndex1 || again.ZoomCenter != s.ZoomCenter)
        __builtin_trap();
    TextFormat f = ini.format();
    (void)encodeText(ini.lines(), f);
    return 0;
}

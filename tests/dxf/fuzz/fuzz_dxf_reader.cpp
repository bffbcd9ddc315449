// The DXF reader on arbitrary bytes: it either refuses the file with a
// located error, or opens it so that writing it back unchanged gives the
// same bytes.
#include "dxf/drawingfile.h"

#include "cadhost/drawing.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    cadhost::Drawing drawing;
    try {
        const dxf::DrawingFile file = dxf::DrawingFile::load(bytes, drawing);
        if (file.render(drawing) != bytes)
            __builtin_trap();
    } catch (const dxf::Error &e) {
        if (e.line() == 0)
            __builtin_trap();  // a damaged file always says where
    }
    return 0;
}

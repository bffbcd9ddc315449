#pragma once

#include "dxf/codec.h"
#include "dxf/document.h"

#include "cadhost/entity.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace cadhost {
class Drawing;
}

namespace dxf {

// A DXF file opened into the host's drawing: its tag document, where each
// layer and entity of the drawing lies in it, and how its strings are
// encoded. Saving rewrites only the tags of what changed in the drawing.
class DrawingFile {
public:
    DrawingFile();
    ~DrawingFile();
    DrawingFile(DrawingFile &&) noexcept;
    DrawingFile &operator=(DrawingFile &&) noexcept;

    // Reads `bytes` into `drawing`, which is emptied first. Raises Error
    // (with the line) for a damaged file; the drawing is then untouched.
    static DrawingFile load(std::string bytes, cadhost::Drawing &drawing);

    // The file with the drawing's changes: edited values rewritten in
    // place, erased entities removed with their ATTRIBs and SEQEND, copies
    // appended to their owner with fresh handles and $HANDSEED above them.
    // Every other byte is the file's own.
    std::string render(const cadhost::Drawing &drawing) const;
    // render(), written through a temporary file, then commit().
    void save(cadhost::Drawing &drawing, const std::filesystem::path &path);

    const Document &document() const { return m_doc; }
    const Codec &codec() const { return m_codec; }
    const std::string &version() const { return m_version; }  // $ACADVER, "AC1009" when absent

    struct Record;  // where one layer or entity lies in the document
    struct Scan;

private:
    void adopt(Document doc, Scan &scan, const cadhost::Drawing &drawing);
    // `order`: the drawing's entities in the order the bytes hold them.
    std::string renderWith(const cadhost::Drawing &drawing, std::vector<cadhost::EntityId> &order,
                           std::uint64_t &nextHandle) const;
    const Record *sourceOf(const cadhost::Drawing &drawing, const cadhost::Entity &e) const;
    // Takes written bytes as the file's content.
    void commit(std::string bytes, const std::vector<cadhost::EntityId> &order, std::uint64_t nextHandle,
                cadhost::Drawing &drawing);

    Document m_doc;
    Codec m_codec{true, {}};
    std::string m_version;
    bool m_handles = true;          // the file writes entity handles
    bool m_usable = true;           // false after a save whose bytes could not be read back
    std::vector<Record> m_records;  // entities in file order, attributes after their reference
    std::vector<Record> m_layers;
    std::map<cadhost::EntityId, bool> m_layerLocks;  // layer → locked as the file has it
    std::unordered_map<cadhost::EntityId, std::size_t> m_byId;
    std::map<cadhost::EntityId, std::size_t> m_insertAt;  // block id → tag new entities go before
    std::size_t m_handSeed = 0;                           // tag of $HANDSEED's value; 0 when absent
    std::size_t m_eof = 0;                                // the "0 EOF" tag
};

// A drawing that came from no file (the built-in sample) as a new DXF:
// AutoCAD R12, Shift_JIS (ANSI_932), with the drawing's own handles so
// that the program's records stay valid once it is opened from the file.
// Circles, arcs and polylines only come from files and are not written.
std::string writeNewFile(const cadhost::Drawing &drawing);

// The whole file; Error when it cannot be read.
std::string readFile(const std::filesystem::path &path);
// Writes a temporary file beside `path` and renames it over `path`; on any
// failure the old file stays as it was and Error says why.
void writeFileAtomically(const std::filesystem::path &path, std::string_view bytes);

}  // namespace dxf

#include "dxf/drawingfile.h"

#include "cadhost/drawing.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <numbers>
#include <optional>
#include <tuple>

namespace dxf {

using cadhost::Entity;
using cadhost::EntityId;
using cadhost::EntityKind;

struct DrawingFile::Record {
    EntityId id = 0;
    EntityKind kind = EntityKind::Line;
    std::size_t begin = 0, end = 0;  // the entity's own tags
    std::size_t groupEnd = 0;        // a reference: past its SEQEND
    std::size_t attributes = 0;      // a reference: how many attribute records follow it
    std::size_t owner = 0;           // block slot (0 model, 1 paper, 2.. blocks); an attribute: its reference's record
};

struct DrawingFile::Scan {
    struct Block {
        std::size_t nameTag = 0;    // 0: no name
        std::size_t handleTag = 0;  // 0: no handle
        std::size_t insertAt = 0;   // its ENDBLK
    };
    std::string version;
    std::string codePage;
    std::size_t handSeed = 0;
    long long handling = -1;
    std::uint64_t maxHandle = 0;
    std::vector<Record> entities;
    std::vector<Record> layers;
    std::vector<Block> blocks{2};  // slots 0 and 1: model and paper space
    std::size_t entitiesEnd = 0;   // ENDSEC of ENTITIES; 0 when there is none
    std::size_t eof = 0;
};

namespace {

constexpr std::size_t kNone = std::size_t(-1);

std::optional<std::uint64_t> parseHex(std::string_view s)
{
    if (s.empty() || s.size() > 16)
        return std::nullopt;
    std::uint64_t v = 0;
    const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v, 16);
    if (ec != std::errc() || ptr != s.data() + s.size())
        return std::nullopt;
    return v;
}

std::string hex(std::uint64_t v)
{
    char buf[20];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, 16);
    std::string s(buf, r.ptr);
    for (char &c : s)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string number(double v)
{
    char buf[40];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    std::string s(buf, r.ptr);
    if (s.find_first_of(".eEn") == std::string::npos)  // "inf"/"nan" never reach here
        s += ".0";
    return s;
}

std::string upper(std::string_view s)
{
    std::string out(s);
    for (char &c : out)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::optional<EntityKind> kindOf(std::string_view type)
{
    if (type == "TEXT")
        return EntityKind::Text;
    if (type == "ATTDEF")
        return EntityKind::AttributeDefinition;
    if (type == "INSERT")
        return EntityKind::Insert;
    if (type == "LINE")
        return EntityKind::Line;
    if (type == "CIRCLE")
        return EntityKind::Circle;
    if (type == "ARC")
        return EntityKind::Arc;
    if (type == "LWPOLYLINE")
        return EntityKind::Polyline;
    return std::nullopt;
}

bool textual(EntityKind k)
{
    return k == EntityKind::Text || k == EntityKind::Attribute || k == EntityKind::AttributeDefinition;
}

// Horizontal (72) and vertical (73 / 74) codes to the CAD's alignment and back.
int alignmentOf(long long h, long long v)
{
    if (h < 0 || h > 5)
        h = 0;
    if (v == 0 || h > 2 || v < 0 || v > 3)
        return int(h);
    return int((v == 3 ? 6 : v == 2 ? 9 : 12) + h);
}

std::pair<int, int> alignmentCodes(int a)
{
    if (a >= 12 && a <= 14)
        return {a - 12, 1};
    if (a >= 9)
        return {a - 9, 2};
    if (a >= 6)
        return {a - 6, 3};
    return {a, 0};
}

// Group values of one entity: the first occurrence of a code counts, and
// reading stops at an embedded object (101) or extended data.
class Fields {
public:
    Fields(const Document &doc, std::size_t begin, std::size_t end) : m_doc(doc), m_begin(begin), m_end(end)
    {
        for (std::size_t i = begin + 1; i < end; ++i) {
            const int c = doc.code(i);
            if (c == 101 || c >= 1000) {
                m_end = i;
                break;
            }
        }
    }
    std::size_t find(int code) const
    {
        for (std::size_t i = m_begin + 1; i < m_end; ++i)
            if (m_doc.code(i) == code)
                return i;
        return kNone;
    }
    double real(int code, double fallback) const
    {
        const std::size_t i = find(code);
        return i == kNone ? fallback : m_doc.real(i);
    }
    long long integer(int code, long long fallback) const
    {
        const std::size_t i = find(code);
        return i == kNone ? fallback : m_doc.integer(i);
    }
    std::optional<cad::Point> point(int code) const
    {
        const std::size_t i = find(code);
        if (i == kNone)
            return std::nullopt;
        return cad::Point{m_doc.real(i), real(code + 10, 0), real(code + 20, 0)};
    }
    std::string_view raw(int code) const
    {
        const std::size_t i = find(code);
        return i == kNone ? std::string_view() : m_doc.value(i);
    }
    std::string_view name(int code) const
    {
        const std::size_t i = find(code);
        return i == kNone ? std::string_view() : m_doc.trimmed(i);
    }
    std::size_t begin() const { return m_begin; }
    std::size_t end() const { return m_end; }

private:
    const Document &m_doc;
    std::size_t m_begin, m_end;
};

std::vector<cad::Point> arcPath(const cad::Point &c, double r, double from, double to)
{
    while (to <= from)
        to += 2 * std::numbers::pi;
    const int steps = std::max(2, int(std::ceil((to - from) / (2 * std::numbers::pi) * 64)));
    std::vector<cad::Point> path;
    path.reserve(std::size_t(steps) + 1);
    for (int i = 0; i <= steps; ++i) {
        const double a = from + (to - from) * i / steps;
        path.push_back({c.x + r * std::cos(a), c.y + r * std::sin(a), c.z});
    }
    return path;
}

// What the drawing holds of one entity, as its tags say.
Entity readEntity(const Document &doc, const Codec &codec, std::size_t begin, std::size_t end, EntityKind kind)
{
    const Fields f(doc, begin, end);
    constexpr double kDeg = std::numbers::pi / 180;
    Entity e;
    e.kind = kind;
    e.handle = fromUtf8(f.name(5));
    const std::size_t layer = f.find(8);
    e.layer = layer == kNone ? u"0" : codec.decode(doc.trimmed(layer));
    const cad::Point at = f.point(10).value_or(cad::Point{});
    e.insertionPoint = at;
    e.alignmentPoint = at;
    switch (kind) {
    case EntityKind::Text:
    case EntityKind::Attribute:
    case EntityKind::AttributeDefinition: {
        e.text = codec.decode(f.raw(1));
        e.height = f.real(40, 0);
        e.rotation = f.real(50, 0) * kDeg;
        if (kind != EntityKind::Text)
            e.tag = codec.decode(f.name(2));
        if (kind == EntityKind::AttributeDefinition)
            e.prompt = codec.decode(f.raw(3));
        // ATTRIB and ATTDEF keep their field length in 73.
        const long long h = f.integer(72, 0);
        const long long v = f.integer(kind == EntityKind::Text ? 73 : 74, 0);
        e.alignment = alignmentOf(h, v);
        if (h != 0 || v != 0)
            e.alignmentPoint = f.point(11).value_or(at);
        break;
    }
    case EntityKind::Insert:
        e.blockName = codec.decode(f.name(2));
        e.scale = f.real(41, 1);
        e.rotation = f.real(50, 0) * kDeg;
        break;
    case EntityKind::Line: e.endPoint = f.point(11).value_or(at); break;
    case EntityKind::Circle: e.path = arcPath(at, f.real(40, 0), 0, 2 * std::numbers::pi); break;
    case EntityKind::Arc: e.path = arcPath(at, f.real(40, 0), f.real(50, 0) * kDeg, f.real(51, 360) * kDeg); break;
    case EntityKind::Polyline: {
        // Every vertex counts here, not only the first.
        for (std::size_t i = begin + 1; i < f.end(); ++i)
            if (doc.code(i) == 10)
                e.path.push_back({doc.real(i), i + 1 < f.end() && doc.code(i + 1) == 20 ? doc.real(i + 1) : 0, 0});
        if (!e.path.empty()) {
            e.insertionPoint = e.alignmentPoint = e.path.front();
            if (f.integer(70, 0) & 1)
                e.path.push_back(e.path.front());
        }
        break;
    }
    }
    return e;
}

// The tags of one entity while it is rewritten: unchanged tags keep their
// bytes, changed and new ones take the file's format.
class TagList {
public:
    TagList(const Document &doc, std::size_t begin, std::size_t end) : m_doc(doc), m_near(begin)
    {
        m_tags.reserve(end - begin + 8);
        for (std::size_t i = begin; i < end; ++i)
            m_tags.push_back({doc.code(i), std::string(doc.value(i)), i, false});
    }

    // Before an embedded object or extended data.
    std::size_t scopeEnd() const
    {
        for (std::size_t i = 1; i < m_tags.size(); ++i)
            if (m_tags[i].code == 101 || m_tags[i].code >= 1000)
                return i;
        return m_tags.size();
    }
    std::size_t find(int code) const
    {
        const std::size_t end = scopeEnd();
        for (std::size_t i = 1; i < end; ++i)
            if (m_tags[i].code == code)
                return i;
        return kNone;
    }
    std::size_t findMarker(std::string_view subclass, int nth = 1) const
    {
        const std::size_t end = scopeEnd();
        for (std::size_t i = 1; i < end; ++i)
            if (m_tags[i].code == 100 && trimmedValue(i) == subclass && --nth == 0)
                return i;
        return kNone;
    }
    // Sets the first `code`; a missing one goes after the last of `after`
    // (the first listed code found last wins), else before the scope's end.
    void set(int code, std::string value, std::initializer_list<int> after)
    {
        if (const std::size_t i = find(code); i != kNone) {
            if (m_tags[i].value != value) {
                m_tags[i].value = std::move(value);
                m_tags[i].changed = true;
            }
            return;
        }
        std::size_t at = kNone;
        const std::size_t end = scopeEnd();
        for (int c : after) {
            for (std::size_t i = 1; i < end; ++i)
                if (m_tags[i].code == c)
                    at = i + 1;
            if (at != kNone)
                break;
        }
        insert(at == kNone ? end : at, code, std::move(value));
    }
    void insert(std::size_t at, int code, std::string value)
    {
        m_tags.insert(m_tags.begin() + std::ptrdiff_t(at), Item{code, std::move(value), kNone, true});
    }
    void setPoint(int code, const cad::Point &p, std::initializer_list<int> after)
    {
        set(code, number(p.x), after);
        set(code + 10, number(p.y), {code});
        if (p.z != 0 || find(code + 20) != kNone)
            set(code + 20, number(p.z), {code + 10});
    }
    // Drops "102 {NAME ... 102 }" groups: a copy shares no dictionary or reactors.
    void dropGroups()
    {
        for (std::size_t i = 1; i < m_tags.size();) {
            if (m_tags[i].code == 102 && trimmedValue(i).starts_with("{")) {
                std::size_t j = i + 1;
                while (j < m_tags.size() && !(m_tags[j].code == 102 && trimmedValue(j) == "}"))
                    ++j;
                if (j < m_tags.size()) {
                    m_tags.erase(m_tags.begin() + std::ptrdiff_t(i), m_tags.begin() + std::ptrdiff_t(j + 1));
                    continue;
                }
            }
            ++i;
        }
    }
    std::size_t size() const { return m_tags.size(); }
    int code(std::size_t i) const { return m_tags[i].code; }
    void setAt(std::size_t i, std::string value)
    {
        m_tags[i].value = std::move(value);
        m_tags[i].changed = true;
    }
    bool changed() const
    {
        for (const Item &t : m_tags)
            if (t.changed || t.from == kNone)
                return true;
        return false;
    }
    void appendTo(std::string &out) const
    {
        for (const Item &t : m_tags) {
            if (!t.changed && t.from != kNone)
                out += m_doc.raw(t.from);
            else
                out += m_doc.format(t.code, t.value, t.from != kNone ? t.from : m_near);
        }
    }

private:
    struct Item {
        int code;
        std::string value;
        std::size_t from;  // tag in the document; kNone for a new one
        bool changed;
    };
    std::string_view trimmedValue(std::size_t i) const
    {
        std::string_view s = m_tags[i].value;
        while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
            s.remove_prefix(1);
        while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
            s.remove_suffix(1);
        return s;
    }
    const Document &m_doc;
    std::vector<Item> m_tags;
    std::size_t m_near;
};

// Writes into `tags` what differs between the entity as read (`was`) and
// as the drawing holds it now (`now`).
void applyChanges(TagList &tags, const Codec &codec, const Entity &was, const Entity &now)
{
    constexpr double kDeg = 180 / std::numbers::pi;
    const EntityKind kind = now.kind;
    if (now.layer != was.layer)
        tags.set(8, codec.encode(now.layer), {5, 100});
    if (textual(kind)) {
        if (now.text != was.text)
            tags.set(1, codec.encode(now.text), {40, 30, 20});
        if (!(now.insertionPoint == was.insertionPoint))
            tags.setPoint(10, now.insertionPoint, {8});
        if (now.height != was.height)
            tags.set(40, number(now.height), {30, 20});
        if (now.rotation != was.rotation)
            tags.set(50, number(now.rotation * kDeg), {1, 40});
        const auto [hWas, vWas] = alignmentCodes(was.alignment);
        const auto [hNow, vNow] = alignmentCodes(now.alignment);
        if (hNow != hWas)
            tags.set(72, std::to_string(hNow), {71, 7, 51, 41, 50, 1, 40});
        if (vNow != vWas) {
            const int code = kind == EntityKind::Text ? 73 : 74;
            if (tags.find(code) == kNone && kind == EntityKind::Text) {
                // Newer files keep it in the second AcDbText subclass.
                const std::size_t marker = tags.findMarker("AcDbText", 2);
                if (marker != kNone) {
                    tags.insert(marker + 1, code, std::to_string(vNow));
                } else {
                    tags.set(code, std::to_string(vNow), {31, 21, 11, 72});
                }
            } else {
                tags.set(code, std::to_string(vNow), {73, 70, 2});
            }
        }
        if (now.alignment != cadhost::AlignLeft
            && (!(now.alignmentPoint == was.alignmentPoint) || was.alignment == cadhost::AlignLeft))
            tags.setPoint(11, now.alignmentPoint, {72});
        if (kind != EntityKind::Text && now.tag != was.tag)
            tags.set(2, codec.encode(now.tag), {1, 100});
        if (kind == EntityKind::AttributeDefinition && now.prompt != was.prompt)
            tags.set(3, codec.encode(now.prompt), {1, 100});
    } else if (kind == EntityKind::Insert) {
        if (now.blockName != was.blockName)
            tags.set(2, codec.encode(now.blockName), {66, 100, 8});
        if (!(now.insertionPoint == was.insertionPoint))
            tags.setPoint(10, now.insertionPoint, {2});
        if (now.scale != was.scale) {
            tags.set(41, number(now.scale), {30, 20});
            tags.set(42, number(now.scale), {41});
            tags.set(43, number(now.scale), {42});
        }
        if (now.rotation != was.rotation)
            tags.set(50, number(now.rotation * kDeg), {43, 42, 41, 30, 20});
    } else if (kind == EntityKind::Line) {
        if (!(now.insertionPoint == was.insertionPoint))
            tags.setPoint(10, now.insertionPoint, {100, 8});
        if (!(now.endPoint == was.endPoint))
            tags.setPoint(11, now.endPoint, {30, 20});
    }
}

// A handle goes right after the entity's type.
void setHandle(TagList &tags, std::string handle)
{
    if (tags.find(5) != kNone)
        tags.set(5, std::move(handle), {});
    else
        tags.insert(1, 5, std::move(handle));
}

// Whether anything the file holds of an entity changed.
bool differs(const Entity &was, const Entity &now)
{
    return now.layer != was.layer || now.text != was.text || now.tag != was.tag || now.prompt != was.prompt
           || !(now.insertionPoint == was.insertionPoint) || !(now.alignmentPoint == was.alignmentPoint)
           || !(now.endPoint == was.endPoint) || now.alignment != was.alignment || now.height != was.height
           || now.rotation != was.rotation || now.blockName != was.blockName || now.scale != was.scale;
}

std::size_t nextZero(const Document &doc, std::size_t i)
{
    ++i;
    while (i < doc.size() && doc.code(i) != 0)
        ++i;
    return i;
}

void scanHandles(const Document &doc, std::size_t from, std::size_t to, DrawingFile::Scan &s);

}  // namespace

// --- Reading ------------------------------------------------------------------------

namespace {

void scanHandles(const Document &doc, std::size_t from, std::size_t to, DrawingFile::Scan &s)
{
    // DIMSTYLE keeps its handle in 105; its 5 is a block name in old files.
    bool dimStyle = false;
    for (std::size_t i = from; i < to; ++i) {
        const int c = doc.code(i);
        if (c == 0)
            dimStyle = doc.trimmed(i) == "DIMSTYLE";
        if ((c == 5 && !dimStyle) || (c == 105 && dimStyle))
            if (const auto h = parseHex(doc.trimmed(i)))
                s.maxHandle = std::max(s.maxHandle, *h);
    }
}

}  // namespace

namespace {

// Entities from `i` up to `stop` (a tag index), belonging to block slot `owner`.
void scanEntities(const Document &doc, std::size_t i, std::size_t stop, std::size_t owner, bool entitiesSection,
                  std::vector<DrawingFile::Record> &out)
{
    while (i < stop) {
        if (doc.code(i) != 0) {
            ++i;
            continue;
        }
        const std::size_t end = std::min(nextZero(doc, i), stop);
        const auto kind = kindOf(doc.trimmed(i));
        if (!kind) {
            i = end;
            continue;
        }
        DrawingFile::Record r;
        r.kind = *kind;
        r.begin = i;
        r.end = r.groupEnd = end;
        r.owner = owner;
        const Fields f(doc, i, end);
        if (entitiesSection && f.integer(67, 0) == 1)
            r.owner = 1;
        const std::size_t self = out.size();
        out.push_back(r);
        i = end;
        if (*kind == EntityKind::Insert && f.integer(66, 0) == 1) {
            while (i < stop && doc.is(i, 0, "ATTRIB")) {
                DrawingFile::Record a;
                a.kind = EntityKind::Attribute;
                a.begin = i;
                a.end = a.groupEnd = std::min(nextZero(doc, i), stop);
                a.owner = self;  // the reference it follows, whatever its 330 says
                out.push_back(a);
                ++out[self].attributes;
                i = a.end;
            }
            if (i >= stop || !doc.is(i, 0, "SEQEND"))
                throw Error(Document::lineOf(i), "ATTRIB か \"0 SEQEND\"");
            i = std::min(nextZero(doc, i), stop);
            out[self].groupEnd = i;
        }
    }
}

void scanDocument(const Document &doc, DrawingFile::Scan &s)
{
    const std::size_t n = doc.size();
    std::size_t i = 0;
    std::size_t headerEnd = 0;
    while (i < n) {
        if (doc.is(i, 0, "EOF")) {
            s.eof = i;
            break;
        }
        if (!doc.is(i, 0, "SECTION")) {
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        while (doc.code(j) == 999)
            ++j;
        const std::string_view name = doc.trimmed(j);
        std::size_t e = j + 1;
        while (!doc.is(e, 0, "ENDSEC"))
            ++e;  // the reader checked every section is closed
        if (name == "HEADER") {
            headerEnd = e;
            for (std::size_t k = j + 1; k + 1 < e; ++k) {
                if (doc.code(k) != 9)
                    continue;
                const std::string_view var = doc.trimmed(k);
                const int c = doc.code(k + 1);
                if (var == "$ACADVER" && c == 1)
                    s.version = std::string(doc.trimmed(k + 1));
                else if (var == "$DWGCODEPAGE" && c == 3)
                    s.codePage = std::string(doc.trimmed(k + 1));
                else if (var == "$HANDSEED" && c == 5)
                    s.handSeed = k + 1;
                else if (var == "$HANDLING" && c == 70)
                    s.handling = doc.integer(k + 1);
            }
        } else if (name == "TABLES") {
            std::string_view table;
            for (std::size_t k = j + 1; k < e; k = nextZero(doc, k)) {
                if (doc.code(k) != 0)
                    continue;
                if (doc.is(k, 0, "TABLE")) {
                    table = doc.code(k + 1) == 2 ? doc.trimmed(k + 1) : std::string_view();
                } else if (table == "LAYER" && doc.is(k, 0, "LAYER")) {
                    DrawingFile::Record r;
                    r.begin = k;
                    r.end = std::min(nextZero(doc, k), e);
                    s.layers.push_back(r);
                }
            }
        } else if (name == "BLOCKS") {
            std::size_t k = j + 1;
            while (k < e) {
                if (!doc.is(k, 0, "BLOCK")) {
                    k = doc.code(k) == 0 ? nextZero(doc, k) : k + 1;
                    continue;
                }
                const std::size_t headEnd = std::min(nextZero(doc, k), e);
                DrawingFile::Scan::Block b;
                for (std::size_t t = k + 1; t < headEnd; ++t) {
                    if (doc.code(t) == 2 && !b.nameTag)
                        b.nameTag = t;
                    if (doc.code(t) == 5 && !b.handleTag)
                        b.handleTag = t;
                }
                if (!b.nameTag)
                    throw Error(Document::lineOf(k + 1), "ブロック名 (グループ 2)");
                std::size_t stop = headEnd;
                while (stop < e && !doc.is(stop, 0, "ENDBLK"))
                    ++stop;
                if (stop >= e)
                    throw Error(Document::lineOf(e), "\"0 ENDBLK\"");
                b.insertAt = stop;
                const std::string blockName = upper(doc.trimmed(b.nameTag));
                std::size_t slot;
                if (blockName == "*MODEL_SPACE" || blockName == "$MODEL_SPACE") {
                    slot = 0;
                    s.blocks[0].nameTag = b.nameTag;
                    s.blocks[0].handleTag = b.handleTag;
                } else if (blockName == "*PAPER_SPACE" || blockName == "$PAPER_SPACE") {
                    slot = 1;
                    s.blocks[1].nameTag = b.nameTag;
                    s.blocks[1].handleTag = b.handleTag;
                } else {
                    slot = s.blocks.size();
                    s.blocks.push_back(b);
                }
                scanEntities(doc, headEnd, stop, slot, false, s.entities);
                k = nextZero(doc, stop);
            }
        } else if (name == "ENTITIES") {
            s.entitiesEnd = e;
            scanEntities(doc, j + 1, e, 0, true, s.entities);
        }
        i = e + 1;
    }
    scanHandles(doc, headerEnd, n, s);
    if (s.version.empty())
        s.version = "AC1009";
}

}  // namespace

DrawingFile::DrawingFile() = default;
DrawingFile::~DrawingFile() = default;
DrawingFile::DrawingFile(DrawingFile &&) noexcept = default;
DrawingFile &DrawingFile::operator=(DrawingFile &&) noexcept = default;

void DrawingFile::adopt(Document doc, Scan &scan, const cadhost::Drawing &drawing)
{
    m_doc = std::move(doc);
    m_version = scan.version;
    m_records = std::move(scan.entities);
    m_layers = std::move(scan.layers);
    m_handSeed = scan.handSeed;
    m_eof = scan.eof;
    m_layerLocks.clear();
    for (const Record &r : m_layers)
        if (const cadhost::Layer *l = drawing.layerById(r.id))
            m_layerLocks[r.id] = l->locked;
    m_byId.clear();
    m_byId.reserve(m_records.size());
    for (std::size_t i = 0; i < m_records.size(); ++i)
        m_byId.emplace(m_records[i].id, i);
}

DrawingFile DrawingFile::load(std::string bytes, cadhost::Drawing &drawing)
{
    Document doc = Document::parse(std::move(bytes));
    Scan scan;
    scanDocument(doc, scan);

    DrawingFile file;
    file.m_codec = Codec(scan.version >= "AC1021", scan.codePage);
    file.m_handles = scan.handling != 0;
    const Codec &codec = file.m_codec;

    // Everything is read before the drawing changes: a damaged file
    // leaves it as it was.
    std::vector<cadhost::Layer> layers;
    for (const Record &r : scan.layers) {
        const Fields f(doc, r.begin, r.end);
        cadhost::Layer l;
        l.name = codec.decode(f.name(2));
        l.handle = fromUtf8(f.name(5));
        l.colour = int(std::abs(f.integer(62, 7)));
        l.locked = (f.integer(70, 0) & 4) != 0;
        layers.push_back(std::move(l));
    }
    std::vector<cadhost::Block> blocks;
    for (std::size_t b = 2; b < scan.blocks.size(); ++b) {
        cadhost::Block block;
        block.name = codec.decode(doc.trimmed(scan.blocks[b].nameTag));
        if (scan.blocks[b].handleTag)
            block.handle = fromUtf8(doc.trimmed(scan.blocks[b].handleTag));
        blocks.push_back(std::move(block));
    }
    // Every entity is read once to find damage before the drawing changes,
    // and again as it goes in: no second copy of a large drawing in memory.
    for (const Record &r : scan.entities)
        readEntity(doc, codec, r.begin, r.end, r.kind);

    drawing.clear();
    drawing.setNextHandle(std::max<std::uint64_t>(
        {scan.maxHandle + 1, scan.handSeed ? parseHex(doc.trimmed(scan.handSeed)).value_or(1) : 1, 1}));
    for (std::size_t i = 0; i < layers.size(); ++i)
        scan.layers[i].id = drawing.loadLayer(std::move(layers[i]));
    std::vector<EntityId> slots{drawing.blocks()[0].id, drawing.blocks()[1].id};
    for (std::size_t b = 0; b < 2; ++b) {
        if (scan.blocks[b].handleTag) {
            cadhost::Block block = drawing.blocks()[b];
            block.handle = fromUtf8(doc.trimmed(scan.blocks[b].handleTag));
            drawing.loadBlock(std::move(block));
        }
    }
    for (cadhost::Block &b : blocks) {
        // A repeated name joins the first block of that name.
        slots.push_back(drawing.loadBlock(std::move(b)));
    }
    for (Record &r : scan.entities) {
        Entity e = readEntity(doc, codec, r.begin, r.end, r.kind);
        e.owner = r.kind == EntityKind::Attribute ? scan.entities[r.owner].id : slots[r.owner];
        r.id = drawing.loadEntity(std::move(e));
    }
    for (std::size_t b = 0; b < slots.size(); ++b) {
        const std::size_t at = b < 2 ? scan.entitiesEnd : scan.blocks[b].insertAt;
        if (at)
            file.m_insertAt[slots[b]] = at;
    }
    file.adopt(std::move(doc), scan, drawing);
    drawing.notify(cadhost::DrawingEvent::Layers);
    drawing.notify(cadhost::DrawingEvent::Entities);
    return file;
}

// --- Writing ------------------------------------------------------------------------

namespace {

struct Placed {
    std::size_t at;   // tag index the entity now starts at or goes before
    std::size_t seq;  // order among entities at the same place
    EntityId id;
};

}  // namespace

std::string DrawingFile::render(const cadhost::Drawing &drawing) const
{
    std::vector<EntityId> order;
    std::uint64_t next = 0;
    return renderWith(drawing, order, next);
}

std::string DrawingFile::renderWith(const cadhost::Drawing &drawing, std::vector<EntityId> &order,
                                    std::uint64_t &nextHandle) const
{
    if (!m_usable)
        throw Error("保存したファイルを読み直せなかったため、続けて保存できません。開き直してください");
    std::vector<Patch> patches;
    std::vector<Placed> placed;
    std::size_t seq = 0;

    // Layers: the lock flag, when the drawing's differs from the file's.
    for (const Record &r : m_layers) {
        const cadhost::Layer *l = drawing.layerById(r.id);
        const auto read = m_layerLocks.find(r.id);
        if (!l || read == m_layerLocks.end() || l->locked == read->second)
            continue;
        const Fields f(m_doc, r.begin, r.end);
        const long long flags = f.integer(70, 0);
        if (l->locked == ((flags & 4) != 0))
            continue;
        TagList tags(m_doc, r.begin, r.end);
        tags.set(70, std::to_string(flags ^ 4), {2});
        std::string bytes;
        tags.appendTo(bytes);
        patches.push_back({r.begin, r.end, std::move(bytes)});
    }

    // Entities read from the file: erased, changed or as they were.
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        const Record &r = m_records[i];
        if (r.kind == EntityKind::Attribute)
            continue;  // with its reference
        const Entity *now = drawing.entity(r.id);
        if (!now) {
            patches.push_back({r.begin, r.groupEnd, {}});
            i += r.attributes;
            continue;
        }
        for (std::size_t k = 0; k <= r.attributes; ++k) {
            const Record &part = m_records[i + k];
            const Entity *e = k == 0 ? now : drawing.entity(part.id);
            placed.push_back({part.begin, seq++, part.id});
            if (!e)
                continue;
            const Entity was = readEntity(m_doc, m_codec, part.begin, part.end, part.kind);
            if (!differs(was, *e))
                continue;
            TagList tags(m_doc, part.begin, part.end);
            applyChanges(tags, m_codec, was, *e);
            if (tags.changed()) {
                std::string bytes;
                tags.appendTo(bytes);
                patches.push_back({part.begin, part.end, std::move(bytes)});
            }
        }
        i += r.attributes;
    }

    // New entities (copies) at the end of their owner.
    std::uint64_t handle = drawing.nextHandle();
    std::uint64_t maxWritten = 0;
    auto note = [&](const std::u16string &h) {
        if (const auto v = parseHex(toUtf8(h)))
            maxWritten = std::max(maxWritten, *v);
    };
    std::string orphanModel;  // model space copies of a file without ENTITIES
    for (const cadhost::Block &block : drawing.blocks()) {
        for (EntityId id : drawing.entitiesOf(block.id)) {
            if (m_byId.count(id))
                continue;
            const Entity &e = *drawing.entity(id);
            const Record *source = sourceOf(drawing, e);
            if (!source)
                throw Error("保存できない図形があります (" + toUtf8(cadhost::dxfName(e.kind)) + " " + toUtf8(e.handle)
                            + "): 元になる図形がファイルにありません");
            std::string bytes;
            auto copyOne = [&](const Record &from, const Entity &made, const std::u16string &ownerHandle) {
                const Entity was = readEntity(m_doc, m_codec, from.begin, from.end, from.kind);
                TagList tags(m_doc, from.begin, from.end);
                tags.dropGroups();
                if (m_handles) {
                    setHandle(tags, toUtf8(made.handle));
                    note(made.handle);
                }
                if (!ownerHandle.empty())
                    if (const std::size_t o = tags.find(330); o != kNone)
                        tags.setAt(o, toUtf8(ownerHandle));
                applyChanges(tags, m_codec, was, made);
                tags.appendTo(bytes);
            };
            copyOne(*source, e, {});
            if (e.kind == EntityKind::Insert && source->attributes > 0) {
                const std::size_t first = std::size_t(source - m_records.data()) + 1;
                std::size_t k = 0;
                for (EntityId a : e.attributes) {
                    const Entity *att = drawing.entity(a);
                    if (!att || k >= source->attributes)
                        continue;
                    copyOne(m_records[first + k], *att, e.handle);
                    ++k;
                }
                const std::size_t seqEnd = m_records[first + source->attributes - 1].end;
                TagList tags(m_doc, seqEnd, source->groupEnd);
                tags.dropGroups();
                if (m_handles) {
                    const std::u16string h = fromUtf8(hex(handle++));
                    setHandle(tags, toUtf8(h));
                    note(h);
                }
                if (const std::size_t o = tags.find(330); o != kNone)
                    tags.setAt(o, toUtf8(e.handle));
                tags.appendTo(bytes);
            }
            auto at = m_insertAt.find(block.id);
            if (at == m_insertAt.end()) {
                if (block.id != drawing.modelSpaceId() && block.id != drawing.blocks()[1].id)
                    throw Error("保存できない図形があります: ブロック定義の終わり (ENDBLK) がありません");
                orphanModel += bytes;
                placed.push_back({m_eof, seq++, id});
            } else {
                patches.push_back({at->second, at->second, std::move(bytes)});
                placed.push_back({at->second, seq++, id});
            }
            for (EntityId a : e.attributes)
                if (drawing.entity(a))
                    placed.push_back({placed.back().at, seq++, a});
        }
    }
    if (!orphanModel.empty())
        patches.push_back({m_eof, m_eof,
                           m_doc.format(0, "SECTION", m_eof) + m_doc.format(2, "ENTITIES", m_eof) + orphanModel
                               + m_doc.format(0, "ENDSEC", m_eof)});

    // $HANDSEED above every handle now in the file.
    if (m_handSeed && maxWritten) {
        const std::uint64_t seed = parseHex(m_doc.trimmed(m_handSeed)).value_or(0);
        if (seed <= maxWritten) {
            TagList tags(m_doc, m_handSeed, m_handSeed + 1);
            tags.setAt(0, hex(maxWritten + 1));
            std::string bytes;
            tags.appendTo(bytes);
            patches.push_back({m_handSeed, m_handSeed + 1, std::move(bytes)});
        }
    }
    nextHandle = std::max({handle, maxWritten + 1, drawing.nextHandle()});

    std::stable_sort(patches.begin(), patches.end(), [](const Patch &a, const Patch &b) {
        return std::tie(a.first, a.last) < std::tie(b.first, b.last);
    });
    std::stable_sort(placed.begin(), placed.end(),
                     [](const Placed &a, const Placed &b) { return std::tie(a.at, a.seq) < std::tie(b.at, b.seq); });
    order.clear();
    order.reserve(placed.size());
    for (const Placed &p : placed)
        order.push_back(p.id);
    return m_doc.render(patches);
}

const DrawingFile::Record *DrawingFile::sourceOf(const cadhost::Drawing &drawing, const Entity &e) const
{
    // The entity it was copied from, however many copies back.
    for (EntityId s = e.source; s;) {
        if (auto it = m_byId.find(s); it != m_byId.end())
            return &m_records[it->second];
        const Entity *prev = drawing.entity(s);
        s = prev ? prev->source : 0;
    }
    // Else any entity of its kind in the same block (for a reference, with
    // as many attributes) serves as the pattern; all values are rewritten.
    const Record *fallback = nullptr;
    for (const Record &r : m_records) {
        if (r.kind != e.kind || (e.kind == EntityKind::Insert && r.attributes != e.attributes.size()))
            continue;
        if (drawing.entity(r.id) && drawing.entity(r.id)->owner == e.owner)
            return &r;
        if (!fallback)
            fallback = &r;
    }
    return e.kind == EntityKind::Attribute ? nullptr : fallback;
}

void DrawingFile::commit(std::string bytes, const std::vector<EntityId> &order, std::uint64_t nextHandle,
                         cadhost::Drawing &drawing)
{
    m_doc = Document();  // written already; not kept twice in memory
    m_usable = false;    // until the written bytes are read back
    Document doc = Document::parse(std::move(bytes));
    Scan scan;
    scanDocument(doc, scan);
    if (scan.entities.size() != order.size())
        throw Error("保存したファイルを読み直せません");
    for (std::size_t i = 0; i < order.size(); ++i)
        scan.entities[i].id = order[i];
    m_insertAt.clear();
    if (scan.entitiesEnd) {
        m_insertAt[drawing.blocks()[0].id] = scan.entitiesEnd;
        m_insertAt[drawing.blocks()[1].id] = scan.entitiesEnd;
    }
    for (std::size_t b = 2; b < scan.blocks.size(); ++b)
        if (const cadhost::Block *block = drawing.block(m_codec.decode(doc.trimmed(scan.blocks[b].nameTag))))
            m_insertAt.emplace(block->id, scan.blocks[b].insertAt);
    for (std::size_t i = 0; i < scan.layers.size() && i < m_layers.size(); ++i)
        scan.layers[i].id = m_layers[i].id;
    adopt(std::move(doc), scan, drawing);
    m_usable = true;
    drawing.setNextHandle(std::max(nextHandle, drawing.nextHandle()));
}

void DrawingFile::save(cadhost::Drawing &drawing, const std::filesystem::path &path)
{
    std::vector<EntityId> order;
    std::uint64_t nextHandle = 0;
    std::string bytes = renderWith(drawing, order, nextHandle);
    writeFileAtomically(path, bytes);
    commit(std::move(bytes), order, nextHandle, drawing);
}

}  // namespace dxf

#include "dxf/drawingfile.h"

#include "cadhost/drawing.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <numbers>

namespace dxf {

namespace {

std::string number(double v)
{
    char buf[40];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    std::string s(buf, r.ptr);
    if (s.find_first_of(".eEn") == std::string::npos)
        s += ".0";
    return s;
}

// Tags in AutoCAD's layout: codes right aligned in three columns, CR LF.
class Writer {
public:
    explicit Writer(const Codec &codec) : m_codec(codec) {}
    void tag(int code, std::string_view value)
    {
        std::string c = std::to_string(code);
        if (c.size() < 3)
            m_out.append(3 - c.size(), ' ');
        m_out += c;
        m_out += "\r\n";
        m_out += value;
        m_out += "\r\n";
    }
    void text(int code, std::u16string_view value) { tag(code, m_codec.encode(value)); }
    void real(int code, double v) { tag(code, number(v)); }
    void integer(int code, long long v) { tag(code, std::to_string(v)); }
    void point(int code, const cad::Point &p)
    {
        real(code, p.x);
        real(code + 10, p.y);
        real(code + 20, p.z);
    }
    std::string take() { return std::move(m_out); }

private:
    const Codec &m_codec;
    std::string m_out;
};

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

void writeText(Writer &w, const cadhost::Entity &e)
{
    constexpr double kDeg = 180 / std::numbers::pi;
    w.point(10, e.insertionPoint);
    w.real(40, e.height);
    w.text(1, e.text);
    if (e.kind == cadhost::EntityKind::AttributeDefinition)
        w.text(3, e.prompt);
    if (e.kind != cadhost::EntityKind::Text) {
        w.text(2, e.tag);
        w.integer(70, 0);
    }
    if (e.rotation != 0)
        w.real(50, e.rotation * kDeg);
    const auto [h, v] = alignmentCodes(e.alignment);
    if (h != 0)
        w.integer(72, h);
    if (e.alignment != cadhost::AlignLeft)
        w.point(11, e.alignmentPoint);
    if (v != 0)
        w.integer(e.kind == cadhost::EntityKind::Text ? 73 : 74, v);
}

}  // namespace

std::string writeNewFile(const cadhost::Drawing &d)
{
    using cadhost::EntityKind;
    const Codec codec(false, "ANSI_932");
    Writer w(codec);
    // SEQENDs take handles above every entity's.
    std::uint64_t seed = std::max<std::uint64_t>(d.nextHandle(), 1);
    auto noteHandle = [&](const cadhost::Entity &e) {
        std::uint64_t v = 0;
        const std::string h = toUtf8(e.handle);
        std::from_chars(h.data(), h.data() + h.size(), v, 16);
        seed = std::max(seed, v + 1);
    };
    for (const cadhost::Block &b : d.blocks()) {
        for (cadhost::EntityId id : d.entitiesOf(b.id)) {
            noteHandle(*d.entity(id));
            for (cadhost::EntityId a : d.entity(id)->attributes)
                if (const cadhost::Entity *att = d.entity(a))
                    noteHandle(*att);
        }
    }
    auto fresh = [&] {
        char buf[20];
        const auto r = std::to_chars(buf, buf + sizeof buf, seed++, 16);
        std::string s(buf, r.ptr);
        for (char &c : s)
            c = char(std::toupper(static_cast<unsigned char>(c)));
        return s;
    };
    std::uint64_t highest = 0;
    auto handleOf = [&](const cadhost::Entity &e) {
        std::uint64_t v = 0;
        const std::string h = toUtf8(e.handle);
        std::from_chars(h.data(), h.data() + h.size(), v, 16);
        highest = std::max(highest, v);
        return h;
    };
    auto entity = [&](const cadhost::Entity &e) {
        constexpr double kDeg = 180 / std::numbers::pi;
        switch (e.kind) {
        case EntityKind::Text:
        case EntityKind::AttributeDefinition:
            w.tag(0, e.kind == EntityKind::Text ? "TEXT" : "ATTDEF");
            w.tag(5, handleOf(e));
            w.text(8, e.layer);
            writeText(w, e);
            break;
        case EntityKind::Line:
            w.tag(0, "LINE");
            w.tag(5, handleOf(e));
            w.text(8, e.layer);
            w.point(10, e.insertionPoint);
            w.point(11, e.endPoint);
            break;
        case EntityKind::Insert: {
            w.tag(0, "INSERT");
            w.tag(5, handleOf(e));
            w.text(8, e.layer);
            bool any = false;
            for (cadhost::EntityId a : e.attributes)
                any = any || d.entity(a);
            if (any)
                w.integer(66, 1);
            w.text(2, e.blockName);
            w.point(10, e.insertionPoint);
            if (e.scale != 1) {
                w.real(41, e.scale);
                w.real(42, e.scale);
                w.real(43, e.scale);
            }
            if (e.rotation != 0)
                w.real(50, e.rotation * kDeg);
            if (!any)
                break;
            for (cadhost::EntityId a : e.attributes) {
                if (const cadhost::Entity *att = d.entity(a)) {
                    w.tag(0, "ATTRIB");
                    w.tag(5, handleOf(*att));
                    w.text(8, att->layer);
                    writeText(w, *att);
                }
            }
            w.tag(0, "SEQEND");
            w.tag(5, fresh());
            w.text(8, e.layer);
            break;
        }
        case EntityKind::Attribute:
        case EntityKind::Circle:
        case EntityKind::Arc:
        case EntityKind::Polyline: break;  // attributes go with their reference; outlines only come from files
        }
    };

    w.tag(0, "SECTION");
    w.tag(2, "HEADER");
    w.tag(9, "$ACADVER");
    w.tag(1, "AC1009");
    w.tag(9, "$DWGCODEPAGE");
    w.tag(3, "ANSI_932");
    w.tag(9, "$HANDLING");
    w.integer(70, 1);
    w.tag(9, "$HANDSEED");
    w.tag(5, "@SEED@");
    w.tag(0, "ENDSEC");

    w.tag(0, "SECTION");
    w.tag(2, "TABLES");
    w.tag(0, "TABLE");
    w.tag(2, "LAYER");
    w.integer(70, std::int64_t(d.layers().size()));
    for (const cadhost::Layer &l : d.layers()) {
        w.tag(0, "LAYER");
        w.text(2, l.name);
        w.integer(70, l.locked ? 4 : 0);
        w.integer(62, l.colour);
        w.tag(6, "CONTINUOUS");
    }
    w.tag(0, "ENDTAB");
    w.tag(0, "ENDSEC");

    w.tag(0, "SECTION");
    w.tag(2, "BLOCKS");
    for (std::size_t b = 2; b < d.blocks().size(); ++b) {
        const cadhost::Block &block = d.blocks()[b];
        bool attributes = false;
        for (cadhost::EntityId id : d.entitiesOf(block.id))
            attributes = attributes || d.entity(id)->kind == EntityKind::AttributeDefinition;
        w.tag(0, "BLOCK");
        w.tag(8, "0");
        w.text(2, block.name);
        w.integer(70, attributes ? 2 : 0);
        w.point(10, {});
        w.text(3, block.name);
        for (cadhost::EntityId id : d.entitiesOf(block.id))
            entity(*d.entity(id));
        w.tag(0, "ENDBLK");
        w.tag(8, "0");
    }
    w.tag(0, "ENDSEC");

    w.tag(0, "SECTION");
    w.tag(2, "ENTITIES");
    for (cadhost::EntityId id : d.modelSpace())
        entity(*d.entity(id));
    w.tag(0, "ENDSEC");
    w.tag(0, "EOF");

    std::string out = w.take();
    char buf[20];
    const auto r = std::to_chars(buf, buf + sizeof buf, std::max(seed, highest + 1), 16);
    std::string s(buf, r.ptr);
    for (char &c : s)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    out.replace(out.find("@SEED@"), 6, s);
    return out;
}

}  // namespace dxf

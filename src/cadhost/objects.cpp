#include "cadhost/objects.h"

#include "cadhost/errors.h"
#include "cadhost/hostcore.h"
#include "cadhost/selectionfilter.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

namespace cadhost {

using cad::Argument;
using cad::InvokeKind;
using cad::Variant;

namespace {

bool is(std::u16string_view member, std::u16string_view name)
{
    return cad::sameMember(member, name);
}

[[noreturn]] void unknown()
{
    throw cad::Error(kUnknownName);
}

const Variant &arg(std::span<Argument> args, size_t i)
{
    if (i >= args.size())
        throw cad::Error(kInvalidInput);
    return args[i].value;
}

// Optional arguments: missing, empty or null.
bool given(std::span<Argument> args, size_t i)
{
    return i < args.size() && !args[i].value.isEmpty() && !args[i].value.isNull();
}

// Value of a Put: its last argument.
const Variant &newValue(std::span<Argument> args)
{
    if (args.empty())
        throw cad::Error(kInvalidInput);
    return args.back().value;
}

Variant point(const cad::Point &p)
{
    return Variant(cad::DoubleArray{p.x, p.y, p.z});
}

cad::Point toPoint3(const Variant &v)
{
    cad::DoubleArray a = v.toDoubleArray();
    if (a.size() < 2)
        throw cad::Error(kInvalidInput);
    return {a[0], a[1], a.size() > 2 ? a[2] : 0.0};
}

// A get of a read-only member; Put raises as the CAD does.
void readOnly(InvokeKind kind)
{
    if (kind == InvokeKind::Put)
        throw cad::Error(kNotApplicable);
}

// Item accepts a 0-based index or, for named collections, a name.
bool isName(const Variant &v)
{
    return v.type() == Variant::Type::String;
}

size_t index(const Variant &v, size_t count)
{
    int i = v.toInt();
    if (i < 0 || size_t(i) >= count)
        throw cad::Error(kIndexOutOfRange);
    return size_t(i);
}

cad::Point shifted(const cad::Point &p, double dx, double dy, double dz)
{
    return {p.x + dx, p.y + dy, p.z + dz};
}

// --- Collections and tables ----------------------------------------------------------

class LayerObject final : public HostObject {
public:
    LayerObject(std::weak_ptr<HostCore> core, std::uint64_t g, EntityId id) : HostObject(std::move(core), g), m_id(id)
    {}

protected:
    Variant handle(HostCore &core, std::u16string_view m, InvokeKind kind, std::span<Argument> args) override
    {
        const Layer *l = core.drawing.layerById(m_id);
        if (!l)
            throw cad::Error(kWasErased);
        if (is(m, u"Lock")) {
            if (kind == InvokeKind::Put) {
                core.drawing.setLayerLocked(l->name, newValue(args).toBool());
                return {};
            }
            return Variant(l->locked);
        }
        readOnly(kind);
        if (is(m, u"Name"))
            return Variant(l->name);
        if (is(m, u"Color"))
            return Variant(l->colour);
        if (is(m, u"Handle"))
            return Variant(l->handle);
        if (is(m, u"ObjectId"))
            return Variant(l->id);
        if (is(m, u"ObjectName"))
            return Variant(u"AcDbLayerTableRecord");
        unknown();
    }

private:
    EntityId m_id;
};

class LayersObject final : public HostObject {
public:
    using HostObject::HostObject;

protected:
    Variant handle(HostCore &core, std::u16string_view m, InvokeKind kind, std::span<Argument> args) override
    {
        readOnly(kind);
        const auto &layers = core.drawing.layers();
        if (is(m, u"Count"))
            return Variant(int(layers.size()));
        if (is(m, u"Item")) {
            const Variant &i = arg(args, 0);
            if (isName(i)) {
                const Layer *l = core.drawing.layer(*i.string());
                if (!l)
                    throw cad::Error(kKeyNotFound);
                return make<LayerObject>(l->id);
            }
            return make<LayerObject>(layers[index(i, layers.size())].id);
        }
        unknown();
    }
};

class BlockObject final : public HostObject {
public:
    BlockObject(std::weak_ptr<HostCore> core, std::uint64_t g, EntityId id) : HostObject(std::move(core), g), m_id(id)
    {}

protected:
    Variant handle(HostCore &core, std::u16string_view m, InvokeKind kind, std::span<Argument> args) override
    {
        readOnly(kind);
        const Block *b = core.drawing.blockById(m_id);
        if (!b)
            throw cad::Error(kWasErased);
        const auto &items = core.drawing.entitiesOf(m_id);
        if (is(m, u"Name"))
            return Variant(b->name);
        if (is(m, u"Count"))
            return Variant(int(items.size()));
        if (is(m, u"Item"))
            return make<EntityObject>(items[index(arg(args, 0), items.size())]);
        if (is(m, u"Handle"))
            return Variant(b->handle);
        if (is(m, u"ObjectId"))
            return Variant(b->id);
        if (is(m, u"ObjectName"))
            return Variant(u"AcDbBlockTableRecord");
        if (is(m, u"IsLayout"))
            return Variant(b->name.starts_with(u"*"));
        unknown();
    }

private:
    EntityId m_id;
};

class BlocksObject final : public HostObject {
public:
    using HostObject::HostObject;

protected:
    Variant handle(HostCore &core, std::u16string_view m, InvokeKind kind, std::span<Argument> args) override
    {
        readOnly(kind);
        const auto &blocks = core.drawing.blocks();
        if (is(m, u"Count"))
            return Variant(int(blocks.size()));
        if (is(m, u"Item")) {
            const Variant &i = arg(args, 0);
            if (isName(i)) {
                const Block *b = core.drawing.block(*i.string());
                if (!b)
                    throw cad::Error(kKeyNotFound);
                return make<BlockObject>(b->id);
            }
            return make<BlockObject>(blocks[index(i, blocks.size())].id);
        }
        unknown();
    }
};

class SelectionSetObject final : public HostObject {
public:
    SelectionSetObject(std::weak_ptr<HostCore> core, std::uint64_t g, std::uint64_t serial)
        : HostObject(std::move(core), g)
        , m_serial(serial)
    {}

protected:
    Variant handle(HostCore &core, std::u16string_view m, InvokeKind kind, std::span<Argument> args) override
    {
        Drawing &d = core.drawing;
        SelectionSet *set = d.selectionSets().find(m_serial);
        if (!set)
            throw cad::Error(kWasErased);
        readOnly(kind);
        if (is(m, u"Name"))
            return Variant(set->name);
        if (is(m, u"Count"))
            return Variant(int(set->items.size()));
        if (is(m, u"Item"))
            return make<EntityObject>(set->items[index(arg(args, 0), set->items.size())]);
        if (is(m, u"Clear")) {
            set->items.clear();
            return {};
        }
        if (is(m, u"Delete")) {
            d.selectionSets().remove(m_serial);
            d.notify(DrawingEvent::SelectionSets);
            return {};
        }
        if (is(m, u"SelectOnScreen")) {
            SelectionFilter filter = SelectionFilter::fromVariants(given(args, 0) ? args[0].value : Variant(),
                                                                   given(args, 1) ? args[1].value : Variant());
            auto picked = core.activePicker().selectOnScreen(filter);
            set = d.selectionSets().find(m_serial);  // the pick may run the window's event loop
            if (!picked)
                throw cad::Error(kPickCancelled);
            if (set)
                addMatching(d, *set, *picked, filter);
            return {};
        }
        if (is(m, u"Select")) {
            int mode = arg(args, 0).toInt();
            SelectionFilter filter = SelectionFilter::fromVariants(given(args, 3) ? args[3].value : Variant(),
                                                                   given(args, 4) ? args[4].value : Variant());
            addMatching(d, *set, candidates(d, mode, args), filter);
            return {};
        }
        if (is(m, u"AddItems")) {
            std::vector<EntityId> ids;
            for (const Variant &v : arg(args, 0).toArray()) {
                auto *e = dynamic_cast<EntityObject *>(v.toObject().dispatch());
                if (!e)
                    throw cad::Error(kInvalidInput);
                ids.push_back(e->id());
            }
            addMatching(d, *set, ids, SelectionFilter());
            return {};
        }
        unknown();
    }

private:
    static void addMatching(const Drawing &d, SelectionSet &set, const std::vector<EntityId> &ids,
                            const SelectionFilter &filter)
    {
        // A set: selecting the whole drawing must not cost n squared.
        std::unordered_set<EntityId> present(set.items.begin(), set.items.end());
        for (EntityId id : ids) {
            const Entity *e = d.entity(id);
            if (!e || !filter.matches(*e))
                continue;
            if (present.insert(id).second)
                set.items.push_back(id);
        }
    }

    // Selection modes of the CAD (AcSelect): 0 window, 1 crossing, 4 last,
    // 5 all. A window takes entities whose points all lie in the box, a
    // crossing those with any point in it.
    static std::vector<EntityId> candidates(const Drawing &d, int mode, std::span<Argument> args)
    {
        const auto &ms = d.modelSpace();
        if (mode == 5)
            return ms;
        if (mode == 4)
            return ms.empty() ? std::vector<EntityId>{} : std::vector<EntityId>{ms.back()};
        if (mode != 0 && mode != 1)
            throw cad::Error(kInvalidInput);
        cad::Point a = toPoint3(arg(args, 1)), b = toPoint3(arg(args, 2));
        double x0 = std::min(a.x, b.x), x1 = std::max(a.x, b.x);
        double y0 = std::min(a.y, b.y), y1 = std::max(a.y, b.y);
        auto inside = [&](const cad::Point &p) { return p.x >= x0 && p.x <= x1 && p.y >= y0 && p.y <= y1; };
        std::vector<EntityId> out;
        for (EntityId id : ms) {
            const Entity &e = *d.entity(id);
            std::vector<cad::Point> pts{e.insertionPoint};
            if (e.kind == EntityKind::Line)
                pts.push_back(e.endPoint);
            bool all = std::all_of(pts.begin(), pts.end(), inside);
            bool any = std::any_of(pts.begin(), pts.end(), inside);
            if (mode == 0 ? all : any)
                out.push_back(id);
        }
        return out;
    }

    std::uint64_t m_serial;
};

class SelectionSetsObject final : public HostObject {
public:
    using HostObject::HostObject;

protected:
    Variant handle(HostCore &core, std::u16string_view m, InvokeKind kind, std::span<Argument> args) override
    {
        readOnly(kind);
        SelectionSets &sets = core.drawing.selectionSets();
        if (is(m, u"Count"))
            return Variant(int(sets.count()));
        if (is(m, u"Item")) {
            const Variant &i = arg(args, 0);
            if (isName(i)) {
                const SelectionSet *s = sets.findByName(*i.string());
                if (!s)
                    throw cad::Error(kKeyNotFound);
                return make<SelectionSetObject>(s->serial);
            }
            return make<SelectionSetObject>(sets.at(index(i, sets.count())).serial);
        }
        if (is(m, u"Add")) {
            std::u16string name = arg(args, 0).toString();
            if (name.empty())
                throw cad::Error(kInvalidInput);
            std::uint64_t serial = sets.add(name).serial;
            core.drawing.notify(DrawingEvent::SelectionSets);
            return make<SelectionSetObject>(serial);
        }
        unknown();
    }
};

class UtilityObject final : public HostObject {
public:
    using HostObject::HostObject;

protected:
    Variant handle(HostCore &core, std::u16string_view m, InvokeKind kind, std::span<Argument> args) override
    {
        readOnly(kind);
        if (is(m, u"GetSubEntity")) {
            if (args.size() < 2)
                throw cad::Error(kInvalidInput);
            std::u16string prompt = given(args, 4) ? args[4].value.toString() : std::u16string();
            auto pick = core.activePicker().getSubEntity(prompt);
            if (!pick || !core.drawing.entity(pick->entity))
                throw cad::Error(kPickCancelled);
            args[0].value = make<EntityObject>(pick->entity);
            args[1].value = point(pick->point);
            // No nesting matrix and no container list for a pick in model space.
            for (size_t i = 2; i < 4 && i < args.size(); ++i)
                if (args[i].byRef)
                    args[i].value = Variant();
            return {};
        }
        unknown();
    }
};

class DocumentObject final : public HostObject {
public:
    using HostObject::HostObject;

protected:
    Variant handle(HostCore &core, std::u16string_view m, InvokeKind kind, std::span<Argument> args) override
    {
        readOnly(kind);
        Drawing &d = core.drawing;
        if (is(m, u"HWND"))
            return Variant(std::int64_t(d.view().window));
        if (is(m, u"SelectionSets"))
            return make<SelectionSetsObject>();
        if (is(m, u"Layers"))
            return make<LayersObject>();
        if (is(m, u"Blocks"))
            return make<BlocksObject>();
        if (is(m, u"Utility"))
            return make<UtilityObject>();
        if (is(m, u"ModelSpace"))
            return make<BlockObject>(d.modelSpaceId());
        if (is(m, u"Application"))
            return make<ApplicationObject>();
        if (is(m, u"Name"))
            return Variant(u"Drawing1.dwg");
        if (is(m, u"HandleToObject")) {
            std::u16string h = arg(args, 0).toString();
            if (const Entity *e = d.entityByHandle(h))
                return make<EntityObject>(e->id);
            for (const auto &l : d.layers())
                if (cad::sameMember(l.handle, h))
                    return make<LayerObject>(l.id);
            for (const auto &b : d.blocks())
                if (cad::sameMember(b.handle, h))
                    return make<BlockObject>(b.id);
            throw cad::Error(kKeyNotFound);
        }
        if (is(m, u"ObjectIdToObject")) {
            EntityId id = arg(args, 0).toInt64();
            if (d.entity(id))
                return make<EntityObject>(id);
            if (d.layerById(id))
                return make<LayerObject>(id);
            if (d.blockById(id))
                return make<BlockObject>(id);
            throw cad::Error(kKeyNotFound);
        }
        if (is(m, u"StartUndoMark")) {
            d.startUndoMark();
            return {};
        }
        if (is(m, u"EndUndoMark")) {
            d.endUndoMark();
            return {};
        }
        if (is(m, u"Regen")) {
            d.notify(DrawingEvent::Regen);
            return {};
        }
        if (is(m, u"GetVariable")) {
            std::u16string name = arg(args, 0).toString();
            const View &v = d.view();
            if (is(name, u"VIEWSIZE"))
                return Variant(v.height);
            if (is(name, u"SCREENSIZE"))
                return Variant(cad::DoubleArray{double(v.screenWidth), double(v.screenHeight)});
            if (is(name, u"VIEWCTR"))
                return point(v.centre);
            if (is(name, u"CTAB"))
                return Variant(u"Model");
            if (is(name, u"DWGNAME"))
                return Variant(u"Drawing1.dwg");
            throw cad::Error(kInvalidInput);
        }
        unknown();
    }
};

}  // namespace

// --- Base ------------------------------------------------------------------------------

Variant HostObject::invoke(std::u16string_view member, InvokeKind kind, std::span<Argument> args)
{
    std::shared_ptr<HostCore> core = m_core.lock();
    if (!core || !core->running || core->generation != m_generation)
        throw cad::Error(kServerUnavailable);
    bool stop = core->enter(member);
    try {
        Variant result = handle(*core, member, kind, args);
        if (stop)
            core->stop();
        return result;
    } catch (...) {
        if (stop)
            core->stop();
        throw;
    }
}

cad::Object makeApplication(const std::shared_ptr<HostCore> &core)
{
    return cad::Object(std::make_shared<ApplicationObject>(core, core->generation));
}

// --- Application ---------------------------------------------------------------------------

Variant ApplicationObject::handle(HostCore &core, std::u16string_view m, InvokeKind kind, std::span<Argument> args)
{
    readOnly(kind);
    if (is(m, u"HWND"))
        return Variant(std::int64_t(core.appWindow));
    if (is(m, u"ActiveDocument"))
        return make<DocumentObject>();
    if (is(m, u"ZoomCenter")) {
        cad::Point centre = toPoint3(arg(args, 0));
        core.drawing.setViewCentre(centre, arg(args, 1).toDouble());
        return {};
    }
    if (is(m, u"Name"))
        return Variant(u"TalvoEditZ drawing host");
    if (is(m, u"Visible"))
        return Variant(true);
    unknown();
}

// --- Entities ------------------------------------------------------------------------------

Variant EntityObject::handle(HostCore &core, std::u16string_view m, InvokeKind kind, std::span<Argument> args)
{
    Drawing &d = core.drawing;
    const Entity *found = d.entity(m_id);
    if (!found)
        throw cad::Error(kWasErased);
    const Entity e = *found;  // the drawing may change below
    const bool put = kind == InvokeKind::Put;
    const bool textual
        = e.kind == EntityKind::Text || e.kind == EntityKind::Attribute || e.kind == EntityKind::AttributeDefinition;
    auto modify = [&](const std::function<void(Entity &)> &f) {
        d.modify(m_id, m, f);
        return Variant();
    };

    // Members of every entity.
    if (is(m, u"Layer")) {
        if (!put)
            return Variant(e.layer);
        std::u16string name = newValue(args).toString();
        const Layer *l = d.layer(name);
        if (!l)
            throw cad::Error(kKeyNotFound);
        name = l->name;
        return modify([&](Entity &x) { x.layer = name; });
    }
    if (is(m, u"Copy")) {
        readOnly(kind);
        return make<EntityObject>(d.copy(m_id));
    }
    if (is(m, u"Delete")) {
        readOnly(kind);
        d.erase(m_id);
        return {};
    }
    if (is(m, u"Update")) {
        readOnly(kind);
        d.notify(DrawingEvent::Redraw);
        return {};
    }
    if (is(m, u"Handle")) {
        readOnly(kind);
        return Variant(e.handle);
    }
    if (is(m, u"EntityName") || is(m, u"ObjectName")) {
        readOnly(kind);
        return Variant(entityName(e.kind));
    }
    if (is(m, u"ObjectId")) {
        readOnly(kind);
        return Variant(e.id);
    }
    if (is(m, u"OwnerId")) {
        readOnly(kind);
        return Variant(e.owner);
    }

    // Points move the whole entity: both text points (and a block
    // reference's attributes) shift by the same offset.
    auto movePoint = [&](const cad::Point &from) {
        cad::Point to = toPoint3(newValue(args));
        double dx = to.x - from.x, dy = to.y - from.y, dz = to.z - from.z;
        d.beginChange(m);
        try {
            d.modify(m_id, m, [&](Entity &x) {
                x.insertionPoint = shifted(x.insertionPoint, dx, dy, dz);
                x.alignmentPoint = shifted(x.alignmentPoint, dx, dy, dz);
            });
            for (EntityId a : e.attributes)
                if (d.entity(a))
                    d.modify(a, m, [&](Entity &x) {
                        x.insertionPoint = shifted(x.insertionPoint, dx, dy, dz);
                        x.alignmentPoint = shifted(x.alignmentPoint, dx, dy, dz);
                    });
        } catch (...) {
            d.endChange();
            throw;
        }
        d.endChange();
        return Variant();
    };

    if (textual) {
        if (is(m, u"TextString")) {
            if (!put)
                return Variant(e.text);
            std::u16string s = newValue(args).toString();
            return modify([&](Entity &x) { x.text = s; });
        }
        if (is(m, u"InsertionPoint"))
            return put ? movePoint(e.insertionPoint) : point(e.insertionPoint);
        if (is(m, u"TextAlignmentPoint"))
            return put ? movePoint(e.alignmentPoint) : point(e.alignmentPoint);
        if (is(m, u"Alignment")) {
            if (!put)
                return Variant(e.alignment);
            int a = newValue(args).toInt();
            if (a < AlignLeft || a > AlignBottomRight)
                throw cad::Error(kInvalidInput);
            // Leaving left alignment keeps the text where it is: its
            // alignment point takes the insertion point.
            return modify([&](Entity &x) {
                if (x.alignment == AlignLeft && a != AlignLeft)
                    x.alignmentPoint = x.insertionPoint;
                x.alignment = a;
            });
        }
        if (is(m, u"Height")) {
            if (!put)
                return Variant(e.height);
            double h = newValue(args).toDouble();
            if (!(h > 0))
                throw cad::Error(kInvalidInput);
            return modify([&](Entity &x) { x.height = h; });
        }
        if (is(m, u"Rotation")) {
            if (!put)
                return Variant(e.rotation);
            double r = newValue(args).toDouble();
            return modify([&](Entity &x) { x.rotation = r; });
        }
    }
    if (e.kind == EntityKind::Attribute || e.kind == EntityKind::AttributeDefinition) {
        if (is(m, u"TagString")) {
            if (!put)
                return Variant(e.tag);
            std::u16string s = newValue(args).toString();
            if (s.empty() || s.find(u' ') != std::u16string::npos)
                throw cad::Error(kInvalidInput);
            return modify([&](Entity &x) { x.tag = s; });
        }
    }
    if (e.kind == EntityKind::AttributeDefinition && is(m, u"PromptString")) {
        if (!put)
            return Variant(e.prompt);
        std::u16string s = newValue(args).toString();
        return modify([&](Entity &x) { x.prompt = s; });
    }
    if (e.kind == EntityKind::Insert) {
        if (is(m, u"InsertionPoint"))
            return put ? movePoint(e.insertionPoint) : point(e.insertionPoint);
        readOnly(kind);
        if (is(m, u"Name") || is(m, u"EffectiveName"))
            return Variant(e.blockName);
        if (is(m, u"HasAttributes"))
            return Variant(!e.attributes.empty());
        if (is(m, u"GetAttributes")) {
            cad::VariantArray out;
            for (EntityId a : e.attributes)
                if (d.entity(a))
                    out.push_back(make<EntityObject>(a));
            return Variant(std::move(out));
        }
        if (is(m, u"Rotation"))
            return Variant(e.rotation);
        if (is(m, u"XScaleFactor") || is(m, u"YScaleFactor") || is(m, u"ZScaleFactor"))
            return Variant(e.scale);
    }
    if (e.kind == EntityKind::Line) {
        if (is(m, u"StartPoint")) {
            if (!put)
                return point(e.insertionPoint);
            cad::Point p = toPoint3(newValue(args));
            return modify([&](Entity &x) { x.insertionPoint = p; });
        }
        if (is(m, u"EndPoint")) {
            if (!put)
                return point(e.endPoint);
            cad::Point p = toPoint3(newValue(args));
            return modify([&](Entity &x) { x.endPoint = p; });
        }
    }
    unknown();
}

}  // namespace cadhost

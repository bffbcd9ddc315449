#include "cadhost/drawing.h"

#include "cadhost/errors.h"

#include "cad/object.h"
#include "base/strings.h"

#include <algorithm>
#include <cmath>

namespace cadhost {

namespace {

// Object ids look like the CAD's: large 64-bit numbers, so a caller that
// squeezes them into 32 bits is caught.
constexpr EntityId kIdBase = 0x000001F4'00000000;
// Small handles are the CAD's own tables; ours start above them.
constexpr std::uint64_t kHandleBase = 0x1F;

std::u16string hex(std::uint64_t v)
{
    static const char16_t digits[] = u"0123456789ABCDEF";
    std::u16string s;
    do {
        s.insert(s.begin(), digits[v & 0xF]);
        v >>= 4;
    } while (v);
    return s;
}

cad::Point place(const cad::Point &base, const cad::Point &rel, double scale, double rotation)
{
    double c = std::cos(rotation), s = std::sin(rotation);
    double x = rel.x * scale, y = rel.y * scale;
    return {base.x + x * c - y * s, base.y + x * s + y * c, base.z + rel.z * scale};
}

const std::vector<EntityId> kNone;

}  // namespace

Drawing::Drawing()
{
    clear();
}

void Drawing::clear()
{
    m_layers.clear();
    m_blocks.clear();
    m_entities.clear();
    m_owned.clear();
    m_handles.clear();
    m_sets.clear();
    m_history.clear();
    m_nextHandle = 0;
    ++m_revision;
    auto [lid, lh] = nextId();
    m_layers.push_back(Layer{lid, lh, u"0", 7, false});
    for (const char16_t *name : {u"*Model_Space", u"*Paper_Space"}) {
        auto [id, h] = nextId();
        m_blocks.push_back(Block{id, h, name});
    }
    notify(DrawingEvent::Entities);
}

std::pair<EntityId, std::u16string> Drawing::nextId()
{
    ++m_seq;
    const EntityId id = kIdBase + EntityId(m_seq) * 8;
    if (m_nextHandle)
        return {id, hex(m_nextHandle++)};
    return {id, hex(kHandleBase + m_seq)};
}

// --- Loading ------------------------------------------------------------------

EntityId Drawing::loadLayer(Layer layer)
{
    for (auto &l : m_layers) {
        if (cad::sameMember(l.name, layer.name)) {
            l.colour = layer.colour;
            l.locked = layer.locked;
            if (!layer.handle.empty())
                l.handle = base::upperAscii(layer.handle);
            return l.id;
        }
    }
    auto [id, h] = nextId();
    layer.id = id;
    layer.handle = layer.handle.empty() ? h : base::upperAscii(layer.handle);
    m_layers.push_back(std::move(layer));
    return id;
}

EntityId Drawing::loadBlock(Block block)
{
    for (auto &b : m_blocks) {
        if (cad::sameMember(b.name, block.name)) {
            if (!block.handle.empty())
                b.handle = base::upperAscii(block.handle);
            return b.id;
        }
    }
    auto [id, h] = nextId();
    block.id = id;
    block.handle = block.handle.empty() ? h : base::upperAscii(block.handle);
    m_blocks.push_back(std::move(block));
    m_owned[id];
    return id;
}

EntityId Drawing::loadEntity(Entity e)
{
    std::u16string wanted = base::upperAscii(e.handle);
    if (wanted.empty() || m_handles.count(wanted)) {
        auto [id, h] = nextId();  // no handle in the file (R12), or a duplicate
        e.id = id;
        e.handle = std::move(h);
    } else {
        ++m_seq;
        e.id = kIdBase + EntityId(m_seq) * 8;
        e.handle = std::move(wanted);
    }
    if (e.kind == EntityKind::Attribute) {
        auto owner = m_entities.find(e.owner);
        if (owner == m_entities.end() || owner->second.kind != EntityKind::Insert)
            throw cad::Error(kKeyNotFound);
        owner->second.attributes.push_back(e.id);
    }
    put(e);
    return e.id;
}

// --- Building -----------------------------------------------------------------

EntityId Drawing::addLayer(std::u16string name, int colour, bool locked)
{
    for (auto &l : m_layers) {
        if (cad::sameMember(l.name, name)) {
            l.colour = colour;
            l.locked = locked;
            notify(DrawingEvent::Layers);
            return l.id;
        }
    }
    auto [id, h] = nextId();
    m_layers.push_back(Layer{id, h, std::move(name), colour, locked});
    notify(DrawingEvent::Layers);
    return id;
}

void Drawing::setLayerLocked(std::u16string_view name, bool locked)
{
    for (auto &l : m_layers) {
        if (cad::sameMember(l.name, name)) {
            if (l.locked != locked)
                ++m_revision;
            l.locked = locked;
            notify(DrawingEvent::Layers);
            return;
        }
    }
    throw cad::Error(kKeyNotFound);
}

EntityId Drawing::addBlock(const BlockSpec &desc)
{
    if (block(desc.name) || desc.name.empty())
        throw cad::Error(kDuplicateName);
    auto [id, h] = nextId();
    m_blocks.push_back(Block{id, h, desc.name});
    m_owned[id];
    for (const auto &l : desc.lines) {
        Entity e;
        e.kind = EntityKind::Line;
        e.owner = id;
        e.layer = l.layer;
        e.insertionPoint = l.start;
        e.endPoint = l.end;
        insertEntity(std::move(e));
    }
    for (const auto &a : desc.attributes) {
        Entity e;
        e.kind = EntityKind::AttributeDefinition;
        e.owner = id;
        e.tag = a.tag;
        e.prompt = a.prompt;
        e.text = a.defaultValue;
        e.insertionPoint = a.point;
        e.alignmentPoint = a.alignmentPoint.value_or(a.point);
        e.height = a.height;
        e.alignment = a.alignment;
        insertEntity(std::move(e));
    }
    notify(DrawingEvent::Entities);
    return id;
}

EntityId Drawing::addText(const TextSpec &desc)
{
    if (!layer(desc.layer))
        addLayer(desc.layer);
    Entity e;
    e.kind = EntityKind::Text;
    e.owner = modelSpaceId();
    e.layer = desc.layer;
    e.text = desc.text;
    e.insertionPoint = desc.insertionPoint;
    e.alignmentPoint = desc.alignmentPoint.value_or(desc.insertionPoint);
    e.alignment = desc.alignment;
    e.height = desc.height;
    e.rotation = desc.rotation;
    EntityId id = insertEntity(std::move(e));
    notify(DrawingEvent::Entities);
    return id;
}

EntityId Drawing::addLine(const LineSpec &desc)
{
    if (!layer(desc.layer))
        addLayer(desc.layer);
    Entity e;
    e.kind = EntityKind::Line;
    e.owner = modelSpaceId();
    e.layer = desc.layer;
    e.insertionPoint = desc.start;
    e.endPoint = desc.end;
    EntityId id = insertEntity(std::move(e));
    notify(DrawingEvent::Entities);
    return id;
}

EntityId Drawing::addInsert(const InsertSpec &desc)
{
    const Block *b = block(desc.block);
    if (!b || b->name.starts_with(u"*"))
        throw cad::Error(kKeyNotFound);
    if (!layer(desc.layer))
        addLayer(desc.layer);
    EntityId blockId = b->id;
    Entity ins;
    ins.kind = EntityKind::Insert;
    ins.owner = modelSpaceId();
    ins.layer = desc.layer;
    ins.blockName = b->name;
    ins.insertionPoint = desc.insertionPoint;
    ins.scale = desc.scale;
    ins.rotation = desc.rotation;
    EntityId insId = insertEntity(ins);

    std::vector<bool> used(desc.attributes.size(), false);
    std::vector<EntityId> attrs;
    auto addAttribute = [&](Entity a) {
        a.kind = EntityKind::Attribute;
        a.owner = insId;
        a.layer = desc.layer;  // definitions sit on layer 0, which takes the reference's layer
        attrs.push_back(insertEntity(std::move(a)));
    };
    for (EntityId defId : entitiesOf(blockId)) {
        const Entity &def = m_entities.at(defId);
        if (def.kind != EntityKind::AttributeDefinition)
            continue;
        Entity a;
        a.tag = def.tag;
        a.text = def.text;
        for (size_t i = 0; i < desc.attributes.size(); ++i) {
            if (!used[i] && desc.attributes[i].first == def.tag) {
                used[i] = true;
                a.text = desc.attributes[i].second;
                break;
            }
        }
        a.insertionPoint = place(desc.insertionPoint, def.insertionPoint, desc.scale, desc.rotation);
        a.alignmentPoint = place(desc.insertionPoint, def.alignmentPoint, desc.scale, desc.rotation);
        a.alignment = def.alignment;
        a.height = def.height * desc.scale;
        a.rotation = desc.rotation;
        addAttribute(std::move(a));
    }
    for (size_t i = 0; i < desc.attributes.size(); ++i) {
        if (used[i])
            continue;
        Entity a;
        a.tag = desc.attributes[i].first;
        a.text = desc.attributes[i].second;
        a.insertionPoint = a.alignmentPoint = desc.insertionPoint;
        a.height = 2.5 * desc.scale;
        addAttribute(std::move(a));
    }
    m_entities.at(insId).attributes = std::move(attrs);
    notify(DrawingEvent::Entities);
    return insId;
}

// --- Reading --------------------------------------------------------------------

const Layer *Drawing::layer(std::u16string_view name) const
{
    for (auto &l : m_layers)
        if (cad::sameMember(l.name, name))
            return &l;
    return nullptr;
}

const Layer *Drawing::layerById(EntityId id) const
{
    for (auto &l : m_layers)
        if (l.id == id)
            return &l;
    return nullptr;
}

const Block *Drawing::block(std::u16string_view name) const
{
    for (auto &b : m_blocks)
        if (cad::sameMember(b.name, name))
            return &b;
    return nullptr;
}

const Block *Drawing::blockById(EntityId id) const
{
    for (auto &b : m_blocks)
        if (b.id == id)
            return &b;
    return nullptr;
}

const std::vector<EntityId> &Drawing::entitiesOf(EntityId block) const
{
    auto it = m_owned.find(block);
    return it == m_owned.end() ? kNone : it->second;
}

const Entity *Drawing::entity(EntityId id) const
{
    auto it = m_entities.find(id);
    return it == m_entities.end() ? nullptr : &it->second;
}

const Entity *Drawing::entityByHandle(std::u16string_view handle) const
{
    auto it = m_handles.find(base::upperAscii(handle));
    return it == m_handles.end() ? nullptr : entity(it->second);
}

bool Drawing::isOnLockedLayer(const Entity &e) const
{
    const Layer *l = layer(e.layer);
    return l && l->locked;
}

void Drawing::checkUnlocked(const Entity &e) const
{
    if (isOnLockedLayer(e))
        throw cad::Error(kOnLockedLayer);
}

// --- Storage ----------------------------------------------------------------------

EntityId Drawing::insertEntity(Entity e)
{
    auto [id, h] = nextId();
    e.id = id;
    e.handle = h;
    put(e);
    return id;
}

void Drawing::put(const Entity &e)
{
    m_entities[e.id] = e;
    auto &owned = m_owned[e.owner];
    auto pos = std::lower_bound(owned.begin(), owned.end(), e.id);
    if (pos == owned.end() || *pos != e.id)
        owned.insert(pos, e.id);
    m_handles[e.handle] = e.id;
}

void Drawing::remove(EntityId id)
{
    auto it = m_entities.find(id);
    if (it == m_entities.end())
        return;
    auto &owned = m_owned[it->second.owner];
    auto pos = std::lower_bound(owned.begin(), owned.end(), id);
    if (pos != owned.end() && *pos == id)
        owned.erase(pos);
    m_handles.erase(it->second.handle);
    m_entities.erase(it);
}

// --- Editing ------------------------------------------------------------------------

void Drawing::modify(EntityId id, std::u16string_view label, const std::function<void(Entity &)> &change)
{
    const Entity *current = entity(id);
    if (!current)
        throw cad::Error(kWasErased);
    checkUnlocked(*current);
    Entity after = *current;
    change(after);
    // Identity and ownership never change through a property.
    after.id = current->id;
    after.handle = current->handle;
    after.kind = current->kind;
    after.owner = current->owner;
    after.source = current->source;
    if (after == *current)
        return;
    EntityChange c{id, *current, after};
    ++m_revision;
    put(after);
    m_history.record(label, std::move(c));
    notify(DrawingEvent::Entities);
}

EntityId Drawing::copy(EntityId id)
{
    const Entity *source = entity(id);
    if (!source)
        throw cad::Error(kWasErased);
    if (source->kind == EntityKind::Attribute)
        throw cad::Error(kNotApplicable);
    checkUnlocked(*source);
    Entity dup = *source;
    dup.source = id;
    ++m_revision;
    m_history.beginGroup(u"Copy");
    EntityId newId = insertEntity(dup);
    std::vector<EntityId> attrs;
    for (EntityId a : dup.attributes) {
        if (const Entity *att = entity(a)) {
            Entity ac = *att;
            ac.owner = newId;
            ac.source = a;
            EntityId acId = insertEntity(ac);
            attrs.push_back(acId);
            m_history.record(u"Copy", EntityChange{acId, std::nullopt, m_entities.at(acId)});
        }
    }
    Entity &made = m_entities.at(newId);
    made.attributes = attrs;
    m_history.record(u"Copy", EntityChange{newId, std::nullopt, made});
    m_history.endGroup();
    notify(DrawingEvent::Entities);
    return newId;
}

void Drawing::erase(EntityId id)
{
    const Entity *e = entity(id);
    if (!e)
        throw cad::Error(kWasErased);
    if (e->kind == EntityKind::Attribute)
        throw cad::Error(kNotApplicable);
    checkUnlocked(*e);
    Entity gone = *e;
    ++m_revision;
    m_history.beginGroup(u"Delete");
    for (EntityId a : gone.attributes) {
        if (const Entity *att = entity(a)) {
            m_history.record(u"Delete", EntityChange{a, *att, std::nullopt});
            remove(a);
        }
    }
    m_history.record(u"Delete", EntityChange{id, gone, std::nullopt});
    remove(id);
    m_history.endGroup();
    notify(DrawingEvent::Entities);
}

// --- Undo ----------------------------------------------------------------------------

void Drawing::startUndoMark()
{
    m_history.beginGroup();
}

void Drawing::endUndoMark()
{
    m_history.endGroup();
}

void Drawing::apply(const UndoStep &step, bool forward)
{
    auto set = [this](EntityId id, const std::optional<Entity> &state) {
        if (state)
            put(*state);
        else
            remove(id);
    };
    ++m_revision;
    if (forward) {
        for (const auto &c : step.changes)
            set(c.id, c.after);
    } else {
        for (auto it = step.changes.rbegin(); it != step.changes.rend(); ++it)
            set(it->id, it->before);
    }
    notify(DrawingEvent::Entities);
}

bool Drawing::undo()
{
    auto step = m_history.takeUndo();
    if (!step)
        return false;
    apply(*step, false);
    return true;
}

bool Drawing::redo()
{
    auto step = m_history.takeRedo();
    if (!step)
        return false;
    apply(*step, true);
    return true;
}

// --- View -----------------------------------------------------------------------------

void Drawing::setViewCentre(const cad::Point &centre, double height)
{
    if (!(height > 0) || !std::isfinite(height))
        throw cad::Error(kInvalidInput);
    m_view.centre = centre;
    m_view.height = height;
    notify(DrawingEvent::View);
}

void Drawing::setScreenSize(int width, int height)
{
    m_view.screenWidth = width;
    m_view.screenHeight = height;
    notify(DrawingEvent::View);
}

void Drawing::setWindowHandle(cad::WindowHandle w)
{
    m_view.window = w;
}

// --- Observers --------------------------------------------------------------------------

int Drawing::addObserver(Observer observer)
{
    int token = m_nextObserver++;
    m_observers.emplace(token, std::move(observer));
    return token;
}

void Drawing::removeObserver(int token)
{
    m_observers.erase(token);
}

void Drawing::notify(DrawingEvent event)
{
    auto observers = m_observers;  // an observer may remove itself
    for (auto &[token, f] : observers)
        if (f)
            f(event);
}

}  // namespace cadhost

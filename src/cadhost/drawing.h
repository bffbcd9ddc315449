#pragma once

#include "cadhost/drawingtypes.h"
#include "cadhost/entity.h"
#include "cadhost/selectionsets.h"
#include "cadhost/undohistory.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace cadhost {

// The host's drawing: layers, block table (model space, paper space,
// block definitions), entities, selection sets, the view and the undo
// history. Qt-free; the drawing window observes it.
class Drawing {
public:
    Drawing();

    // --- Building: not recorded in the undo history ----------------------
    // Adds a layer, or updates colour and lock of an existing one.
    EntityId addLayer(std::u16string name, int colour = 7, bool locked = false);
    void setLayerLocked(std::u16string_view name, bool locked);  // raises for an unknown layer
    // Raises cad::Error when a block of that name exists.
    EntityId addBlock(const BlockSpec &desc);
    EntityId addText(const TextSpec &desc);
    EntityId addLine(const LineSpec &desc);
    // Raises cad::Error for an unknown block.
    EntityId addInsert(const InsertSpec &desc);
    // Empties the drawing (entities, blocks, layers except "0", sets, undo).
    void clear();

    // --- Loading a file: not recorded, no events (notify when done) --------
    // Keep the file's handle when it is set and not taken, else give a
    // fresh one. Layer "0", "*Model_Space" and "*Paper_Space" update the
    // ones every drawing has.
    EntityId loadLayer(Layer layer);
    EntityId loadBlock(Block block);
    // `e.owner` is a block id, or for an attribute the reference it joins.
    EntityId loadEntity(Entity e);
    // Handles given from now on start at `next` (hex), as the file's $HANDSEED.
    void setNextHandle(std::uint64_t next) { m_nextHandle = next; }
    std::uint64_t nextHandle() const { return m_nextHandle; }
    // Counts every change to the drawing, undo and redo included.
    std::uint64_t revision() const { return m_revision; }

    // --- Reading -------------------------------------------------------------
    const std::vector<Layer> &layers() const { return m_layers; }
    const Layer *layer(std::u16string_view name) const;  // any letter case
    // Block table: [0] "*Model_Space", [1] "*Paper_Space", then definitions.
    const std::vector<Block> &blocks() const { return m_blocks; }
    const Block *block(std::u16string_view name) const;  // any letter case
    const Block *blockById(EntityId id) const;
    EntityId modelSpaceId() const { return m_blocks[0].id; }
    // Entities owned by a block (model space or definition), in order.
    const std::vector<EntityId> &entitiesOf(EntityId block) const;
    const std::vector<EntityId> &modelSpace() const { return entitiesOf(modelSpaceId()); }
    const Entity *entity(EntityId id) const;                         // nullptr when erased or unknown
    const Entity *entityByHandle(std::u16string_view handle) const;  // any letter case
    // Layers and blocks have handles and ids too.
    const Layer *layerById(EntityId id) const;
    bool isOnLockedLayer(const Entity &e) const;

    // --- Editing: recorded, raise cad::Error on a locked layer ----------------
    // `label` names the change in the undo history (the member name).
    void modify(EntityId id, std::u16string_view label, const std::function<void(Entity &)> &change);
    // An identical new entity in the same place and owner; a block
    // reference's attributes are copied with it. Returns the new id.
    EntityId copy(EntityId id);
    // Erases the entity (a block reference with its attributes).
    void erase(EntityId id);
    // Changes made between these become one undo step named `label`
    // (inside an open undo group they join that group).
    void beginChange(std::u16string_view label) { m_history.beginGroup(label); }
    void endChange() { m_history.endGroup(); }
    // Ends an undo group left open however deep (the host stopped inside it).
    void closeOpenChanges() { m_history.closeGroup(); }

    // --- Undo ------------------------------------------------------------------
    void startUndoMark();
    void endUndoMark();
    bool undo();  // false when there is nothing to undo
    bool redo();
    bool canUndo() const { return m_history.canUndo(); }
    bool canRedo() const { return m_history.canRedo(); }
    const UndoHistory &history() const { return m_history; }

    // --- Selection sets and view ----------------------------------------------------
    SelectionSets &selectionSets() { return m_sets; }
    const SelectionSets &selectionSets() const { return m_sets; }
    const View &view() const { return m_view; }
    void setViewCentre(const cad::Point &centre, double height);  // ZoomCenter
    void setScreenSize(int width, int height);                    // pixels
    void setWindowHandle(cad::WindowHandle w);                    // the document's HWND

    // --- Observers (the drawing window) ---------------------------------------------
    using Observer = std::function<void(DrawingEvent)>;
    int addObserver(Observer observer);
    void removeObserver(int token);
    void notify(DrawingEvent event);

private:
    std::pair<EntityId, std::u16string> nextId();
    EntityId insertEntity(Entity e);  // assigns id and handle
    void put(const Entity &e);        // stores a snapshot (create or replace)
    void remove(EntityId id);
    void apply(const UndoStep &step, bool forward);
    void checkUnlocked(const Entity &e) const;

    std::vector<Layer> m_layers;
    std::vector<Block> m_blocks;
    std::map<EntityId, Entity> m_entities;
    std::map<EntityId, std::vector<EntityId>> m_owned;  // block → its entities by id
    std::map<std::u16string, EntityId> m_handles;       // upper-case handle → id
    SelectionSets m_sets;
    UndoHistory m_history;
    View m_view;
    std::uint64_t m_seq = 0;
    std::uint64_t m_nextHandle = 0;  // 0: handles follow the ids
    std::uint64_t m_revision = 0;
    std::map<int, Observer> m_observers;
    int m_nextObserver = 1;
};

}  // namespace cadhost

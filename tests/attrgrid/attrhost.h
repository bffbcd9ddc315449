#pragma once

#include "attrgrid/attrfetch.h"
#include "attrgrid/records.h"

#include "cad/connection.h"
#include "cadhost/testapi.h"

#include <string>
#include <utility>
#include <vector>

// A running drawing host with block definitions to insert, and the
// attribute tab's records to fetch into.
class AttrHost {
public:
    AttrHost()
    {
        cad::TargetProgID = cad::kDefaultProgID;
        cad::setWindowApi(&win);
        host.setApplicationWindow(5);
    }
    ~AttrHost() { cad::setWindowApi(nullptr); }

    cadhost::Host host;
    cadhost::RecordingWindowApi win;
    cadhost::Drawing &d = host.drawing();
    AttrGridData data;
    int sgUndoCnt = 0;
    bool runFlag = true;
    std::vector<std::u16string> labels;

    cad::Object doc() { return host.application().get(u"ActiveDocument").toObject(); }

    // A block definition with attribute definitions {tag, prompt}.
    void block(std::u16string name, std::vector<std::pair<std::u16string, std::u16string>> defs)
    {
        cadhost::BlockSpec spec;
        spec.name = std::move(name);
        for (auto &[tag, prompt] : defs)
            spec.attributes.push_back({.tag = tag, .prompt = prompt});
        d.addBlock(spec);
    }
    cadhost::EntityId insert(std::u16string name, double x, double y,
                             std::vector<std::pair<std::u16string, std::u16string>> values)
    {
        return d.addInsert({.block = std::move(name), .insertionPoint = {x, y, 0}, .attributes = std::move(values)});
    }

    FetchHooks hooks()
    {
        FetchHooks h;
        h.label = [this](const std::u16string &s) { labels.push_back(s); };
        return h;
    }
    FetchOutcome fetch(std::vector<cadhost::EntityId> picked, const AttrSet &set)
    {
        return fetch(std::move(picked), set, hooks());
    }
    FetchOutcome fetch(std::vector<cadhost::EntityId> picked, const AttrSet &set, const FetchHooks &h)
    {
        host.scriptedPicker().queueIds(std::move(picked));
        return FetchBlocks(doc(), set, data, sgUndoCnt, runFlag, h);
    }

    std::u16string cell(int col, int row) const { return data.cells.cellText(col, row); }
    int ref(int col, int row) const { return data.cells.ref(col, row); }
    const cadhost::Entity &attribute(cadhost::EntityId insert, int i) const
    {
        return *d.entity(d.entity(insert)->attributes[std::size_t(i)]);
    }
};

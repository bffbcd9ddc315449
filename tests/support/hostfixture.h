#pragma once

#include "textedit/talvo.h"
#include "textedit/textrules.h"

#include "cad/connection.h"
#include "cadhost/testapi.h"

#include <string>
#include <vector>

// A running drawing host with a recording window layer, and helpers to
// build texts and read them back.
class HostBench {
public:
    HostBench()
    {
        cad::TargetProgID = cad::kDefaultProgID;
        cad::setWindowApi(&win);
        host.setApplicationWindow(5);
    }
    ~HostBench() { cad::setWindowApi(nullptr); }

    cadhost::Host host;
    cadhost::RecordingWindowApi win;
    cadhost::Drawing &d = host.drawing();

    cad::Object doc() { return host.application().get(u"ActiveDocument").toObject(); }

    cadhost::EntityId text(std::u16string s, double x, double y, std::u16string layer = u"0",
                           int alignment = cadhost::AlignLeft, double z = 0)
    {
        cadhost::TextSpec desc;
        desc.text = std::move(s);
        desc.insertionPoint = {x, y, z};
        desc.alignment = alignment;
        desc.layer = std::move(layer);
        return d.addText(desc);
    }
    const cadhost::Entity &entity(cadhost::EntityId id) const { return *d.entity(id); }
    std::u16string handle(cadhost::EntityId id) const { return d.entity(id)->handle; }
    const cadhost::Entity *byHandle(const std::u16string &h) const { return d.entityByHandle(h); }

    // Strings of the texts in model space, in creation order.
    std::vector<std::u16string> texts() const
    {
        std::vector<std::u16string> out;
        for (cadhost::EntityId id : d.modelSpace())
            if (const cadhost::Entity *e = d.entity(id); e && e->kind == cadhost::EntityKind::Text)
                out.push_back(e->text);
        return out;
    }

    // A TEXT fetch of the given entities, without sorting.
    std::vector<Talvo> fetched(std::vector<cadhost::EntityId> ids, bool sort = false);
};

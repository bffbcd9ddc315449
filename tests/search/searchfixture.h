#pragma once

#include "search/search.h"
#include "search/talvo2.h"

#include "cad/connection.h"
#include "cadhost/testapi.h"

#include <string>
#include <vector>

// A running drawing host with a recording window layer, for the search.
class SearchHost {
public:
    SearchHost()
    {
        cad::TargetProgID = cad::kDefaultProgID;
        cad::setWindowApi(&win);
        host.setApplicationWindow(5);
    }
    ~SearchHost() { cad::setWindowApi(nullptr); }

    cadhost::Host host;
    cadhost::RecordingWindowApi win;
    cadhost::Drawing &d = host.drawing();

    cad::Object doc() { return host.application().get(u"ActiveDocument").toObject(); }

    cadhost::EntityId text(std::u16string s, double x = 0, double y = 0, std::u16string layer = u"0")
    {
        cadhost::TextSpec desc;
        desc.text = std::move(s);
        desc.insertionPoint = {x, y, 0};
        desc.layer = std::move(layer);
        return d.addText(desc);
    }
    std::u16string stringOf(cadhost::EntityId id) const { return d.entity(id)->text; }

    // A search as the page runs it, recording Label6's texts.
    SearchEnd search(const std::u16string &field, bool headMatch, std::vector<Talvo2> &list)
    {
        labels.clear();
        SearchUi ui;
        ui.label6 = [this](const std::u16string &s) { labels.push_back(s); };
        ui.label7 = [this](const std::u16string &s) { label7 = s; };
        ui.pump = [this] {
            if (onPump)
                onPump();
        };
        return RunSearch(field, headMatch, list, runFlag, ui);
    }

    bool runFlag = false;
    std::vector<std::u16string> labels;
    std::u16string label7;
    std::function<void()> onPump;
};

inline std::vector<std::u16string> textsOf(const std::vector<Talvo2> &list)
{
    std::vector<std::u16string> out;
    for (const Talvo2 &t : list)
        out.push_back(t.text);
    return out;
}

#include "search/search.h"

#include "cad/connection.h"
#include "tools/sortorder.h"

#include <algorithm>
#include <exception>
#include <string>

namespace {

std::u16string number(long long n)
{
    return cad::fromUtf8(std::to_string(n));
}

std::u16string progress(long long current, long long total)
{
    return number(current) + u" / " + number(total);
}

// Steps 3 and 4 of the activation without the restore: the CAD to the
// front and, when it really is, one Escape.
void cadToFrontWithEscape(const cad::Object &app)
{
    cad::WindowApi &win = cad::windowApi();
    win.setForeground(app.get(u"HWND").toInt64());
    if (win.foreground() == app.get(u"HWND").toInt64()) {
        win.pressEscape();
        win.sleep(5);
    }
}

void mainWindowToFront()
{
    if (cad::WindowHandle w = cad::mainWindowHandle())
        cad::BringWindowToFront(w);
}

}  // namespace

std::u16string SearchPattern(const std::u16string &fieldText, bool headMatch)
{
    if (fieldText.empty())
        return u"*";
    return headMatch ? fieldText + u"*" : u"*" + fieldText + u"*";
}

std::u16string PatternLabel(const std::u16string &pattern)
{
    return u"[" + pattern + u"] (部分一致)";
}

std::vector<std::u16string> LockedLayerNames(const cad::Object &doc)
{
    std::vector<std::u16string> names;
    cad::Object layers = doc.get(u"Layers").toObject();
    const int count = layers.get(u"Count").toInt();
    for (int i = 0; i < count; ++i) {
        cad::Object layer = layers.call(u"Item", {cad::Variant(i)}).toObject();
        if (layer.get(u"Lock").toBool())
            names.push_back(layer.get(u"Name").toString());
    }
    return names;
}

void MarkLocked(std::vector<Talvo2> &list, const std::vector<std::u16string> &lockedLayers)
{
    // Names are compared whole, so a tab inside a layer name cannot make a
    // neighbour of it look locked.
    for (Talvo2 &t : list)
        t.locked = std::find(lockedLayers.begin(), lockedLayers.end(), t.lay) != lockedLayers.end();
}

void SortSearchResults(std::vector<Talvo2> &list, const LabelFn &label, const PumpFn &pump)
{
    auto show = [&](const std::u16string &s) {
        if (label)
            label(s);
    };
    if (list.size() >= 2) {
        auto less = [](const Talvo2 &a, const Talvo2 &b) { return a.text < b.text; };
        tools::exchangeSort(list, less, [&](std::size_t done, std::size_t total) {
            show(progress((long long)done, (long long)total));
            if (pump)
                pump();
        });
    }
    show(std::u16string());
}

SearchFetch FetchMatchingTexts(const cad::Object &doc, const std::u16string &pattern, const LabelFn &label,
                               const PumpFn &pump, const bool &runFlag)
{
    auto show = [&](const std::u16string &s) {
        if (label)
            label(s);
    };
    SearchFetch r;
    r.lockedLayers = LockedLayerNames(doc);

    cad::TempSelectionSet temp(doc);
    const cad::Variant &set = temp.variant();
    cad::Object ss = set.toObject();
    ss.call(u"Clear");
    cad::Argument args[5] = {{cad::Variant(5), false},
                             {cad::Variant(), false},
                             {cad::Variant(), false},
                             {cad::Variant(cad::Int16Array{0, 1}), true},
                             {cad::Variant(cad::VariantArray{cad::Variant(u"TEXT"), cad::Variant(pattern)}), true}};
    try {
        ss.callRef(u"Select", args);
    } catch (const std::exception &) {
        // Treated as no match; the count decides.
    }
    const int n = ss.get(u"Count").toInt();
    show(u"TEXT = " + number(n));

    if (n > 0) {
        r.records.reserve(std::size_t(n));
        const int step = std::max(1, n / 100);
        for (int i = 0; i < n; ++i) {
            if (i % step == 0)
                show(progress(i + 1, n));
            if (pump)
                pump();
            if (!runFlag)
                return r;
            cad::Object e = ss.call(u"Item", {cad::Variant(i)}).toObject();
            Talvo2 t;
            t.text = e.get(u"TextString").toString();
            t.sHnd = e.get(u"Handle").toString();
            t.index = i;
            t.insPt = e.get(u"InsertionPoint");
            t.lay = e.get(u"Layer").toString();
            r.records.push_back(std::move(t));
        }
    }
    r.completed = true;
    return r;
}

SearchEnd RunSearch(const std::u16string &fieldText, bool headMatch, std::vector<Talvo2> &list, bool &runFlag,
                    const SearchUi &ui)
{
    struct MainWindowBack {
        ~MainWindowBack() { mainWindowToFront(); }
    } back;
    if (!cad::IsCadRunning()) {
        // Nothing to show for this pattern: empty as an abort does, rather
        // than bring back results of some earlier search.
        list.clear();
        return SearchEnd::NoCad;
    }
    runFlag = true;
    SearchFetch fetch;
    try {
        cad::Object app = cad::AttachCad();
        cad::ActivateCad(app, false, true);
        cad::Object doc = app.get(u"ActiveDocument").toObject();
        const std::u16string pattern = SearchPattern(fieldText, headMatch);
        if (ui.label7)
            ui.label7(PatternLabel(pattern));
        fetch = FetchMatchingTexts(doc, pattern, ui.label6, ui.pump, runFlag);
        cadToFrontWithEscape(app);
    } catch (...) {
        // The grid is emptied with the list by the caller, so rows never
        // name records of another search.
        list.clear();
        throw;
    }
    if (!fetch.completed || !runFlag) {
        list.clear();
        return SearchEnd::Aborted;
    }
    SortSearchResults(fetch.records, ui.label6, ui.pump);
    MarkLocked(fetch.records, fetch.lockedLayers);
    list = std::move(fetch.records);
    return SearchEnd::Completed;
}

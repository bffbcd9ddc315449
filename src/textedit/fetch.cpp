#include "textedit/fetch.h"

#include "cad/connection.h"

namespace {

// SelectOnScreen; a cancelled or failed pick leaves the count to decide.
void pick(const cad::Object &ss, cad::Int16Array types, cad::VariantArray data)
{
    ss.call(u"Clear");
    cad::Argument args[2] = {{cad::Variant(std::move(types)), true}, {cad::Variant(std::move(data)), true}};
    try {
        ss.callRef(u"SelectOnScreen", args);
    } catch (const std::exception &) {}
}

std::u16string number(long long n)
{
    return cad::fromUtf8(std::to_string(n));
}

}  // namespace

std::u16string lockedLayerList(const cad::Object &doc)
{
    std::u16string locked = u"\t";
    cad::Object layers = doc.get(u"Layers").toObject();
    int count = layers.get(u"Count").toInt();
    for (int i = 0; i < count; ++i) {
        cad::Object layer = layers.call(u"Item", {cad::Variant(i)}).toObject();
        if (layer.get(u"Lock").toBool())
            locked += layer.get(u"Name").toString() + u'\t';
    }
    return locked;
}

TextFetch FetchTexts(const cad::Object &doc, bool sortByCoordinates, const PumpFn &pump)
{
    TextFetch r;
    const std::u16string locked = lockedLayerList(doc);
    cad::TempSelectionSet temp(doc);
    const cad::Variant &set = temp.variant();
    cad::Object ss = set.toObject();
    pick(ss, cad::Int16Array{0}, cad::VariantArray{cad::Variant(u"TEXT")});
    r.total = ss.get(u"Count").toInt();
    if (r.total <= 0)
        return r;
    r.records.reserve(std::size_t(r.total));
    for (int i = 0; i < r.total; ++i) {
        cad::Object e = ss.call(u"Item", {cad::Variant(i)}).toObject();
        std::u16string layer = e.get(u"Layer").toString();
        if (locked.find(u'\t' + layer + u'\t') != std::u16string::npos)
            continue;
        if (pump)
            pump();
        Talvo t;
        t.text = e.get(u"TextString").toString();
        t.sHnd = e.get(u"Handle").toString();
        t.index = int(r.records.size());
        t.txtAli = e.get(u"Alignment").toInt();
        t.insPt = readPosition(e, t.txtAli);
        t.lay = std::move(layer);
        r.records.push_back(std::move(t));
    }
    if (sortByCoordinates && !r.records.empty())
        SortTexts(r.records, 3);
    return r;
}

std::u16string tagOfEntry(const std::u16string &entry)
{
    auto colon = entry.find(u':');
    return colon == std::u16string::npos ? entry : entry.substr(0, colon);
}

std::u16string blockPatternOfEntry(const std::u16string &entry)
{
    auto colon = entry.find(u':');
    if (colon == std::u16string::npos)
        return u"*";
    std::u16string rest = entry.substr(colon);
    auto a = rest.find(u'['), b = rest.find(u']');
    if (a == std::u16string::npos || b == std::u16string::npos || a + 1 >= b)
        return u"*";
    return rest.substr(a + 1, b - a - 1);
}

AttrFetch FetchAttributes(const cad::Object &doc, const std::u16string &entry, bool sortByCoordinates,
                          const std::function<void(const std::u16string &)> &label)
{
    AttrFetch r;
    auto show = [&](const std::u16string &s) {
        if (label)
            label(s);
    };
    cad::TempSelectionSet temp(doc);
    const cad::Variant &set = temp.variant();
    cad::Object ss = set.toObject();
    pick(ss, cad::Int16Array{0, 2},
         cad::VariantArray{cad::Variant(u"INSERT"), cad::Variant(blockPatternOfEntry(entry))});
    r.blocks = ss.get(u"Count").toInt();
    show(u"INSERT=" + number(r.blocks));
    if (r.blocks <= 0)
        return r;
    r.tag = tagOfEntry(entry);
    for (int i = 0; i < r.blocks; ++i) {
        show(r.tag + u" : " + number(i + 1) + u" / " + number(r.blocks));
        cad::Object e = ss.call(u"Item", {cad::Variant(i)}).toObject();
        if (!e.get(u"HasAttributes").toBool())
            continue;
        cad::VariantArray atts = e.call(u"GetAttributes").toArray();
        for (const cad::Variant &a : atts) {
            cad::Object t = a.toObject();
            if (t.get(u"TagString").toString() != r.tag)
                continue;
            Talvo rec;
            rec.text = t.get(u"TextString").toString();
            rec.sHnd = t.get(u"Handle").toString();
            rec.index = int(r.records.size());
            rec.txtAli = t.get(u"Alignment").toInt();
            rec.lay = e.get(u"Layer").toString();
            rec.insPt = e.get(u"InsertionPoint");
            rec.parentType = u"INSERT";
            rec.parentHnd = e.get(u"Handle").toString();
            rec.parentId = e.get(u"ObjectId").toInt64();
            r.records.push_back(std::move(rec));
        }
    }
    if (sortByCoordinates)
        SortTexts(r.records, 3);
    return r;
}

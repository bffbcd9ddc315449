#include "textedit/textrules.h"

#include "cad/connection.h"
#include "base/strings.h"

#include <exception>

int UsedLineCount(const Lines &lines)
{
    for (int i = int(lines.size()); i > 0; --i)
        if (!base::isBlank(lines[std::size_t(i - 1)]))
            return i;
    return 0;
}

const char16_t *positionMember(int alignment)
{
    return alignment == 0 ? u"InsertionPoint" : u"TextAlignmentPoint";
}

cad::Variant readPosition(const cad::Object &entity, int alignment)
{
    return entity.get(positionMember(alignment));
}

void placeAt(const cad::Object &entity, int alignment, const cad::Variant &point)
{
    entity.put(positionMember(alignment), point);
}

cad::Object copyTemplate(const cad::Object &templ, const std::u16string &text,
                         const std::function<cad::Variant(const cad::Object &copy)> &where, Talvo &rec,
                         CopyOptions options)
{
    cad::Object copy = templ.call(u"Copy").toObject();
    copy.put(u"TextString", text);
    if (options.alignment)
        copy.put(u"Alignment", cad::Variant(*options.alignment));
    const int alignment = copy.get(u"Alignment").toInt();
    const cad::Variant point = where(copy);
    placeAt(copy, alignment, point);
    rec.text = text;
    rec.sHnd = copy.get(u"Handle").toString();
    rec.txtAli = alignment;
    rec.lay = copy.get(u"Layer").toString();
    rec.insPt = point;
    if (options.update)
        copy.call(u"Update");
    return copy;
}

cad::Object lookupHandle(const cad::Object &doc, const std::u16string &handle)
{
    cad::Argument arg{cad::Variant(handle), true};
    cad::Object e = doc.callRef(u"HandleToObject", std::span<cad::Argument>(&arg, 1)).toObject();
    if (e.isNull())
        throw cad::Error(u"HandleToObject");
    return e;
}

bool FindLastEntity(const cad::Object &doc, const std::vector<Talvo> &list, cad::Object &templ)
{
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        if (it->sHnd.empty())
            continue;
        try {
            templ = lookupHandle(doc, it->sHnd);
        } catch (const std::exception &) {}
        return true;
    }
    return false;
}

void rethrowUnlessCadRunning()
{
    bool running = false;
    try {
        running = cad::IsCadRunning();
    } catch (const std::exception &) {}
    if (!running)
        throw;
}

Step proposeStep(const std::vector<Talvo> &list)
{
    Step s;
    const std::size_t n = list.size();
    if (n >= 2 && hasPoint(list[n - 1]) && hasPoint(list[n - 2])) {
        cad::Point a = cad::toPoint(list[n - 2].insPt), b = cad::toPoint(list[n - 1].insPt);
        s.dX = b.x - a.x;
        s.dY = b.y - a.y;
    }
    return s;
}

std::u16string errorText(const std::exception &e)
{
    if (auto *ce = dynamic_cast<const cad::Error *>(&e))
        return ce->text();
    return cad::fromUtf8(e.what());
}

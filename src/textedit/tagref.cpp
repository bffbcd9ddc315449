#include "textedit/tagref.h"

#include "cad/connection.h"
#include "base/strings.h"

#include <array>

void ReferenceAttributeTag(const cad::Object &doc, TagFields &fields)
{
    const cad::Object utility = doc.get(u"Utility").toObject();
    std::array<cad::Argument, 5> args{};
    for (int i = 0; i < 4; ++i)
        args[size_t(i)].byRef = true;
    args[4].value = cad::Variant(u"TAG名を参照する属性を選択 : ");
    utility.callRef(u"GetSubEntity", args);
    const cad::Object picked = args[0].value.toObject();
    if (picked.get(u"EntityName").toString() != u"AcDbAttribute")
        return;

    const std::u16string tag = picked.get(u"TagString").toString();
    fields.tag = tag;
    fields.prompt.clear();
    const cad::Object owner = doc.call(u"ObjectIdToObject", {picked.get(u"OwnerId")}).toObject();
    const std::u16string blockName = owner.get(u"Name").toString();

    const cad::Object blocks = doc.get(u"Blocks").toObject();
    const int count = blocks.get(u"Count").toInt();
    for (int b = 0; b < count; ++b) {
        const cad::Object block = blocks.call(u"Item", {cad::Variant(b)}).toObject();
        if (block.get(u"Name").toString() != blockName)
            continue;
        const int entities = block.get(u"Count").toInt();
        for (int i = 0; i < entities; ++i) {
            const cad::Object e = block.call(u"Item", {cad::Variant(i)}).toObject();
            if (e.get(u"EntityName").toString() == u"AcDbAttributeDefinition"
                && e.get(u"TagString").toString() == tag) {
                fields.prompt = e.get(u"PromptString").toString();
                break;
            }
        }
        break;  // only the first block of that name
    }
}

void ReferenceTag(TagFields &fields, cad::WindowHandle dialog)
{
    if (!cad::IsCadRunning())
        return;
    const cad::Object app = cad::AttachCad();
    cad::ActivateCad(app, false, true);
    const cad::Object doc = app.get(u"ActiveDocument").toObject();
    try {
        ReferenceAttributeTag(doc, fields);
    } catch (...) {
        // A cancelled pick, a pick of nothing or a CAD error: the fields
        // keep what was set before it.
    }
    cad::WindowApi &win = cad::windowApi();
    const cad::WindowHandle cad = app.get(u"HWND").toInt64();
    win.setForeground(cad);
    if (win.foreground() == cad) {
        win.pressEscape();
        win.sleep(5);
    }
    win.setForeground(dialog);
}

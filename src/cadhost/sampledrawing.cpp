#include "cadhost/sampledrawing.h"

#include "cadhost/drawing.h"

namespace cadhost {

void buildSampleDrawing(Drawing &d)
{
    d.addLayer(u"注記", 3);
    d.addLayer(u"図枠", 5);
    d.addLayer(u"ロック", 1, false);

    d.addBlock({.name = u"TITLE",
                .lines = {{{0, 0, 0}, {120, 0, 0}}, {{120, 0, 0}, {120, 30, 0}},
                          {{120, 30, 0}, {0, 30, 0}}, {{0, 30, 0}, {0, 0, 0}}},
                .attributes = {{.tag = u"TITLE", .prompt = u"図名", .defaultValue = u"図名", .point = {5, 20, 0}, .height = 5},
                               {.tag = u"DWGNO", .prompt = u"図番", .defaultValue = u"-", .point = {5, 10, 0}, .height = 3.5},
                               {.tag = u"DATE", .prompt = u"日付", .defaultValue = u"", .point = {70, 10, 0}, .height = 3.5}}});
    d.addBlock({.name = u"TAG",
                .lines = {{{-5, -5, 0}, {5, -5, 0}}, {{5, -5, 0}, {5, 5, 0}}, {{5, 5, 0}, {-5, 5, 0}}, {{-5, 5, 0}, {-5, -5, 0}}},
                .attributes = {{.tag = u"NO", .prompt = u"番号", .defaultValue = u"0", .point = {0, 0, 0},
                                .alignment = AlignMiddleCenter}}});

    d.addLine({{0, 0, 0}, {297, 0, 0}, u"図枠"});
    d.addLine({{297, 0, 0}, {297, 210, 0}, u"図枠"});
    d.addLine({{297, 210, 0}, {0, 210, 0}, u"図枠"});
    d.addLine({{0, 210, 0}, {0, 0, 0}, u"図枠"});

    const char16_t *items[] = {u"ポンプ P-101", u"バルブ V-201", u"タンク T-301", u"熱交換器 E-401", u"配管 L-501"};
    double y = 180;
    for (const char16_t *s : items) {
        d.addText({.text = s, .insertionPoint = {20, y, 0}, .height = 3.5, .layer = u"注記"});
        y -= 10;
    }
    d.addText({.text = u"中央揃え", .insertionPoint = {150, 120, 0}, .alignment = AlignMiddleCenter,
               .alignmentPoint = cad::Point{150, 120, 0}, .height = 5, .layer = u"注記"});
    d.addText({.text = u"右揃え", .insertionPoint = {280, 120, 0}, .alignment = AlignRight,
               .alignmentPoint = cad::Point{280, 120, 0}, .height = 3.5, .layer = u"注記"});
    d.addText({.text = u"ロック画層の文字", .insertionPoint = {20, 110, 0}, .height = 3.5, .layer = u"ロック"});

    for (int i = 0; i < 4; ++i)
        d.addInsert({.block = u"TAG", .insertionPoint = {160.0 + 25 * i, 60, 0},
                     .attributes = {{u"NO", std::u16string(u"T-") + char16_t(u'1' + i)}}});
    d.addInsert({.block = u"TITLE", .insertionPoint = {170, 5, 0},
                 .attributes = {{u"TITLE", u"配管計装図"}, {u"DWGNO", u"D-001"}, {u"DATE", u"2024-04-01"}}});

    d.setLayerLocked(u"ロック", true);
    d.setViewCentre({148.5, 105, 0}, 230);
}

} // namespace cadhost

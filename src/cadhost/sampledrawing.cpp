#include "cadhost/sampledrawing.h"

#include "cadhost/drawing.h"

#include <string>
#include <vector>

namespace cadhost {

namespace {

std::vector<LineSpec> rectangle(double x0, double y0, double x1, double y1)
{
    return {
        {{x0, y0, 0}, {x1, y0, 0}}, {{x1, y0, 0}, {x1, y1, 0}}, {{x1, y1, 0}, {x0, y1, 0}}, {{x0, y1, 0}, {x0, y0, 0}}};
}

std::u16string u16(const std::string &ascii)
{
    return std::u16string(ascii.begin(), ascii.end());
}

void addBlocks(Drawing &d)
{
    // PLC input point: terminal box and lead, pin number left, address and
    // two comment lines right.
    BlockSpec io{.name = u"IO_IN", .lines = rectangle(-3, -3, 3, 3)};
    io.lines.push_back({{3, 0, 0}, {10, 0, 0}});
    io.attributes = {
        {.tag = u"PIN1",
         .prompt = u"端子番号",
         .defaultValue = u"0",
         .point = {-5, -1.25, 0},
         .alignment = AlignRight,
         .alignmentPoint = cad::Point{-5, -1.25, 0}},
        {.tag = u"IOADRS", .prompt = u"I/Oアドレス", .defaultValue = u"X000", .point = {12, -1.25, 0}},
        {.tag = u"JCMNT1", .prompt = u"コメント１", .defaultValue = u"", .point = {32, 0.5, 0}, .height = 3},
        {.tag = u"JCMNT2", .prompt = u"コメント２", .defaultValue = u"", .point = {32, -4, 0}, .height = 2.2},
    };
    d.addBlock(io);

    // Equipment symbol on a rung: name above, second name below, rating and
    // type to the right.
    d.addBlock({.name = u"EQUIP",
                .lines = rectangle(-10, -4, 10, 4),
                .attributes = {
                    {.tag = u"NAME",
                     .prompt = u"機器名",
                     .defaultValue = u"",
                     .point = {0, 5.5, 0},
                     .alignment = AlignCenter,
                     .alignmentPoint = cad::Point{0, 5.5, 0}},
                    {.tag = u"NAME1",
                     .prompt = u"機器名１",
                     .defaultValue = u"",
                     .point = {0, -1.25, 0},
                     .height = 2.2,
                     .alignment = AlignCenter,
                     .alignmentPoint = cad::Point{0, -1.1, 0}},
                    {.tag = u"SPEC", .prompt = u"仕様", .defaultValue = u"", .point = {12, 0.5, 0}, .height = 2},
                    {.tag = u"TYPE", .prompt = u"型式", .defaultValue = u"", .point = {12, -3, 0}, .height = 2},
                }});

    // Wire-number mark: a short tick with the number above it.
    d.addBlock({.name = u"WIRENO",
                .lines = {{{-1.5, -1.5, 0}, {1.5, 1.5, 0}}},
                .attributes = {{.tag = u"SENBAN",
                                .prompt = u"線番",
                                .defaultValue = u"0",
                                .point = {0, 2.5, 0},
                                .alignment = AlignCenter,
                                .alignmentPoint = cad::Point{0, 2.5, 0}}}});

    // Title block of the 図枠IFS tag set, 180 × 50, base point bottom left.
    BlockSpec title{.name = u"FRAME_IFS", .lines = rectangle(0, 0, 180, 50)};
    for (double y : {10.0, 20.0, 30.0, 40.0})
        title.lines.push_back({{0, y, 0}, {180, y, 0}});
    for (double x : {60.0, 120.0})
        title.lines.push_back({{x, 0, 0}, {x, 30, 0}});
    auto field
        = [&](const char16_t *tag, const char16_t *prompt, const char16_t *def, double x, double y, double h = 2.5) {
              title.attributes.push_back(
                  {.tag = tag, .prompt = prompt, .defaultValue = def, .point = {x, y, 0}, .height = h});
          };
    field(u"CST", u"客先名", u"", 3, 43.5, 3.5);
    field(u"CST1", u"客先名１", u"", 100, 43.5);
    field(u"TITLE", u"図名", u"", 3, 33.5, 3.5);
    field(u"TITLE1", u"図名１", u"", 100, 33.5);
    field(u"DWGNO", u"図番", u"-", 3, 23.5);
    field(u"REVNO", u"版数", u"0", 63, 23.5);
    field(u"PAGEN", u"頁", u"1", 123, 23.5);
    field(u"PAGEM", u"総頁", u"1", 150, 23.5);
    field(u"ENAM", u"設計者", u"", 3, 13.5);
    field(u"EDATE", u"設計日", u"", 3, 3.5);
    field(u"CNAM", u"照査者", u"", 63, 13.5);
    field(u"CDATE", u"照査日", u"", 63, 3.5);
    field(u"ANAM", u"承認者", u"", 123, 13.5);
    field(u"ADATE", u"承認日", u"", 123, 3.5);
    d.addBlock(title);
}

}  // namespace

void buildSampleDrawing(Drawing &d)
{
    d.addLayer(u"図枠", 8);
    d.addLayer(u"配線", 7);
    d.addLayer(u"線番", 2);
    d.addLayer(u"機器", 3);
    d.addLayer(u"コメント", 4);
    d.addLayer(u"注記", 7);
    d.addLayer(u"入出力", 6);
    d.addLayer(u"承認", 1);  // locked below, once its texts are in
    addBlocks(d);

    // Sheet border and heading.
    for (const LineSpec &l : rectangle(0, 0, 420, 297))
        d.addLine({l.start, l.end, u"図枠"});
    d.addText({.text = u"制御盤 展開接続図",
               .insertionPoint = {210, 286, 0},
               .alignment = AlignMiddleCenter,
               .alignmentPoint = cad::Point{210, 286, 0},
               .height = 6,
               .layer = u"注記"});

    // Ladder: R and T buses with eight rungs.
    const double left = 20, right = 200, top = 270;
    d.addLine({{left, 80, 0}, {left, top, 0}, u"配線"});
    d.addLine({{right, 80, 0}, {right, top, 0}, u"配線"});
    d.addText({.text = u"R",
               .insertionPoint = {left, 273, 0},
               .alignment = AlignCenter,
               .alignmentPoint = cad::Point{left, 273, 0},
               .height = 3.5,
               .layer = u"注記"});
    d.addText({.text = u"T",
               .insertionPoint = {right, 273, 0},
               .alignment = AlignCenter,
               .alignmentPoint = cad::Point{right, 273, 0},
               .height = 3.5,
               .layer = u"注記"});

    struct Rung {
        const char16_t *name, *name1, *rating, *type, *label, *comment;
    };
    const Rung rungs[] = {
        {u"MCCB1", u"主幹", u"3P 100AF/75AT", u"NF100-CV", u"MCCB1 主幹ブレーカ", u"主回路 AC200V"},
        {u"CP1", u"操作回路", u"2P 5A", u"CP30-BA", u"CP1 操作電源", u"操作回路 AC100V"},
        {u"PB1", u"非常停止", u"1b 赤 φ40", u"AVW411-R", u"PB1 非常停止", u"押すと全停止"},
        {u"PB2", u"運転", u"1a 緑", u"AR22F0R-10G", u"PB2 運転押釦", u"ポンプ起動"},
        {u"PB3", u"停止", u"1b 赤", u"AR22F0R-01R", u"PB3 停止押釦", u"ポンプ停止"},
        {u"MC1", u"ポンプ用", u"AC200V 18A", u"S-T21", u"MC1 電磁接触器", u"自己保持"},
        {u"THR1", u"過負荷", u"15A (12~18)", u"TH-T18", u"THR1 サーマル", u"トリップで停止"},
        {u"PL1", u"運転表示", u"LED 緑 AC100V", u"APW126DG", u"PL1 運転表示灯", u"運転中点灯"},
    };
    for (int i = 0; i < 8; ++i) {
        const Rung &r = rungs[i];
        const double y = top - 10 - 22 * i;
        d.addLine({{left, y, 0}, {80, y, 0}, u"配線"});
        d.addLine({{100, y, 0}, {right, y, 0}, u"配線"});
        // Column of wire numbers on the left of each rung, and rung numbers
        // right-aligned against the R bus.
        d.addText(
            {.text = u16(std::to_string(101 + i)), .insertionPoint = {24, y + 1, 0}, .height = 2.5, .layer = u"線番"});
        d.addText({.text = u"(" + u16(std::to_string(i + 1)) + u")",
                   .insertionPoint = {17, y - 1.25, 0},
                   .alignment = AlignRight,
                   .alignmentPoint = cad::Point{17, y - 1.25, 0},
                   .height = 2.5,
                   .layer = u"注記"});
        d.addInsert({.block = u"EQUIP",
                     .insertionPoint = {90, y, 0},
                     .layer = u"機器",
                     .attributes = {{u"NAME", r.name}, {u"NAME1", r.name1}, {u"SPEC", r.rating}, {u"TYPE", r.type}}});
        d.addText({.text = r.label, .insertionPoint = {135, y + 1, 0}, .height = 2.5, .layer = u"機器"});
        d.addText({.text = r.comment, .insertionPoint = {205, y - 1.25, 0}, .height = 2.5, .layer = u"コメント"});
        if (i % 2 == 0)
            d.addInsert({.block = u"WIRENO",
                         .insertionPoint = {60, y, 0},
                         .layer = u"線番",
                         .attributes = {{u"SENBAN", u"L" + u16(std::to_string(i / 2 + 1))}}});
    }

    // PLC inputs X000..X007.
    d.addText({.text = u"PLC 入力ユニット",
               .insertionPoint = {330, 272, 0},
               .alignment = AlignCenter,
               .alignmentPoint = cad::Point{330, 272, 0},
               .height = 4,
               .layer = u"注記"});
    const char16_t *inputs[][2] = {
        {u"非常停止", u"PB1 b接点"}, {u"運転指令", u"PB2"}, {u"停止指令", u"PB3"}, {u"運転中", u"MC1 補助a"},
        {u"過負荷", u"THR1 b接点"},  {u"予備", u""},        {u"水位 高", u"LS1"},  {u"水位 低", u"LS2"},
    };
    for (int i = 0; i < 8; ++i) {
        const double y = 258 - 16 * i;
        d.addInsert({.block = u"IO_IN",
                     .insertionPoint = {300, y, 0},
                     .layer = u"入出力",
                     .attributes = {{u"PIN1", u16(std::to_string(i + 1))},
                                    {u"IOADRS", u"X00" + u16(std::to_string(i))},
                                    {u"JCMNT1", inputs[i][0]},
                                    {u"JCMNT2", inputs[i][1]}}});
    }
    d.addText({.text = u"COM",
               .insertionPoint = {295, 118.75, 0},
               .alignment = AlignRight,
               .alignmentPoint = cad::Point{295, 118.75, 0},
               .height = 2.5,
               .layer = u"入出力"});

    // Notes, and the approval stamp on the locked layer.
    d.addText({.text = u"注記", .insertionPoint = {20, 62, 0}, .height = 3.5, .layer = u"コメント"});
    d.addText({.text = u"1. 盤内配線は KIV 1.25sq とする。",
               .insertionPoint = {24, 55, 0},
               .height = 2.5,
               .layer = u"コメント"});
    d.addText({.text = u"2. 線番はマークチューブ表示とする。",
               .insertionPoint = {24, 49, 0},
               .height = 2.5,
               .layer = u"コメント"});
    d.addText({.text = u"3. 機器は同等品可。", .insertionPoint = {24, 43, 0}, .height = 2.5, .layer = u"コメント"});
    d.addText({.text = u"承認済",
               .insertionPoint = {200, 30, 0},
               .alignment = AlignMiddleCenter,
               .alignmentPoint = cad::Point{200, 30, 0},
               .height = 5,
               .layer = u"承認"});
    d.addText({.text = u"2024-04-01 山田",
               .insertionPoint = {200, 22, 0},
               .alignment = AlignCenter,
               .alignmentPoint = cad::Point{200, 22, 0},
               .height = 2.5,
               .layer = u"承認"});
    d.addText({.text = u"改訂 A: 初版発行",
               .insertionPoint = {232, 22, 0},
               .alignment = AlignRight,
               .alignmentPoint = cad::Point{232, 22, 0},
               .height = 2.5,
               .layer = u"承認"});

    d.addInsert({.block = u"FRAME_IFS",
                 .insertionPoint = {240, 0, 0},
                 .layer = u"図枠",
                 .attributes = {{u"CST", u"株式会社 タルボ工業"},
                                {u"CST1", u"第二工場"},
                                {u"TITLE", u"排水ポンプ制御盤"},
                                {u"TITLE1", u"展開接続図"},
                                {u"DWGNO", u"E-1024-01"},
                                {u"REVNO", u"A"},
                                {u"PAGEN", u"1"},
                                {u"PAGEM", u"3"},
                                {u"ENAM", u"設計 佐藤"},
                                {u"EDATE", u"2024-03-25"},
                                {u"CNAM", u"照査 鈴木"},
                                {u"CDATE", u"2024-03-28"},
                                {u"ANAM", u"承認 山田"},
                                {u"ADATE", u"2024-04-01"}}});

    d.setLayerLocked(u"承認", true);
    d.setViewCentre({210, 148.5, 0}, 310);
}

}  // namespace cadhost

// DXF files in the drawing host: byte-exact round trips, reading and
// saving the ezdxf-made drawings (checked back with ezdxf), encodings,
// and damaged files that must open nothing.
#include "dxf/codec.h"
#include "dxf/document.h"
#include "dxf/drawingfile.h"

#include "cadhost/drawing.h"
#include "cadhost/sampledrawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

using namespace cadhost;
namespace fs = std::filesystem;

namespace {

const fs::path kDrawings = TALVO_DXF_DRAWINGS;

std::string slurp(const fs::path &p)
{
    return dxf::readFile(p);
}

fs::path scratch(const std::string &name)
{
    const fs::path dir = fs::path(TALVO_DXF_SCRATCH);
    fs::create_directories(dir);
    return dir / name;
}

// What ezdxf reads back: "audit N", "handseed H", then entity lines.
std::string ezdxfDump(const fs::path &file)
{
    const std::string cmd
        = std::string(TALVO_PYTHON) + " " + TALVO_DXF_SCRIPTS + "/dump_drawing.py '" + file.string() + "' 2>&1";
    std::string out;
    if (FILE *p = popen(cmd.c_str(), "r")) {
        char buf[4096];
        std::size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0)
            out.append(buf, n);
        pclose(p);
    }
    return out;
}

std::string u8(const std::u16string &s)
{
    return dxf::toUtf8(s);
}

const Entity *textNamed(const Drawing &d, std::u16string_view text)
{
    for (EntityId id : d.modelSpace())
        if (const Entity *e = d.entity(id); e && e->kind == EntityKind::Text && e->text == text)
            return e;
    return nullptr;
}

std::vector<const Entity *> inserts(const Drawing &d)
{
    std::vector<const Entity *> out;
    for (EntityId id : d.modelSpace())
        if (const Entity *e = d.entity(id); e && e->kind == EntityKind::Insert)
            out.push_back(e);
    return out;
}

std::uint64_t hexValue(const std::string &s)
{
    return std::stoull(s, nullptr, 16);
}

// A small R12 file without handles, in CP932.
const std::string kTinyR12 = "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n  9\n$DWGCODEPAGE\n  3\nANSI_932\n"
                             "  9\n$HANDLING\n 70\n     0\n  0\nENDSEC\n"
                             "  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLAYER\n 70\n     1\n"
                             "  0\nLAYER\n  2\n0\n 70\n     0\n 62\n     7\n  6\nCONTINUOUS\n  0\nENDTAB\n  0\nENDSEC\n"
                             "  0\nSECTION\n  2\nBLOCKS\n  0\nENDSEC\n"
                             "  0\nSECTION\n  2\nENTITIES\n"
                             "  0\nTEXT\n  8\n0\n 10\n1.0\n 20\n2.0\n 30\n0.0\n 40\n2.5\n  1\nABC\n"
                             "  0\nSPLINE\n  8\n0\n 70\n     8\n"
                             "  0\nENDSEC\n  0\nEOF\n";

std::size_t lineAt(const std::string &s, std::size_t pos)
{
    return std::size_t(std::count(s.begin(), s.begin() + std::ptrdiff_t(pos), '\n')) + 1;
}

class EzdxfDrawing : public testing::TestWithParam<const char *> {
protected:
    fs::path source() const { return kDrawings / GetParam(); }
    bool r12() const { return std::string(GetParam()).starts_with("r12"); }
};

}  // namespace

// --- Round trip ------------------------------------------------------------------------

TEST(DxfRoundTrip, UnchangedFilesComeBackByteForByte)
{
    std::map<std::string, std::string> files;
    for (const char *name : {"r12_cp932.dxf", "r2010_utf8.dxf"}) {
        const std::string lf = slurp(kDrawings / name);
        files[name] = lf;
        std::string crlf, mixed;
        bool odd = false;
        for (char c : lf) {
            if (c == '\n') {
                crlf += "\r\n";
                mixed += odd ? "\r\n" : "\n";
                odd = !odd;
            } else {
                crlf += c;
                mixed += c;
            }
        }
        files[std::string(name) + " crlf"] = crlf;
        files[std::string(name) + " mixed"] = mixed;
        files[std::string(name) + " trailing"] = crlf + std::string("\x1a\r\nnot a tag\0", 14);
        files[std::string(name) + " no final newline"] = lf.substr(0, lf.size() - 1);
    }
    files["tiny r12"] = kTinyR12;
    for (const auto &[label, bytes] : files) {
        SCOPED_TRACE(label);
        Drawing d;
        dxf::DrawingFile f = dxf::DrawingFile::load(bytes, d);
        EXPECT_EQ(f.render(d), bytes);
        const fs::path out = scratch("roundtrip.dxf");
        f.save(d, out);
        EXPECT_EQ(slurp(out), bytes);
        EXPECT_EQ(f.render(d), bytes);  // and again from what was saved
    }
}

// --- Reading -----------------------------------------------------------------------------

TEST_P(EzdxfDrawing, ReadsLayersTextsBlocksAndAttributes)
{
    Drawing d;
    const dxf::DrawingFile f = dxf::DrawingFile::load(slurp(source()), d);
    EXPECT_EQ(f.codec().unicode(), !r12());

    ASSERT_TRUE(d.layer(u"承認"));
    EXPECT_TRUE(d.layer(u"承認")->locked);
    EXPECT_FALSE(d.layer(u"注記")->locked);
    EXPECT_EQ(d.layer(u"注記")->colour, 2);

    const Entity *title = textNamed(d, u"制御盤 展開接続図");
    ASSERT_TRUE(title);
    EXPECT_EQ(title->alignment, AlignMiddleCenter);
    EXPECT_EQ(title->alignmentPoint, (cad::Point{210, 286, 0}));
    EXPECT_EQ(title->layer, u"注記");
    EXPECT_DOUBLE_EQ(title->height, 6);
    EXPECT_EQ(textNamed(d, u"右寄せ")->alignment, AlignRight);
    EXPECT_EQ(textNamed(d, u"上中央")->alignment, AlignTopCenter);
    EXPECT_EQ(textNamed(d, u"左寄せ ABC")->alignment, AlignLeft);
    EXPECT_EQ(textNamed(d, u"左寄せ ABC")->insertionPoint, (cad::Point{20, 250, 0}));
    // CP932 trail bytes 0x5C (ソ, 表) are no escapes; ezdxf writes lower-case hex.
    EXPECT_TRUE(textNamed(d, u"Yen \\ sign ソ表"));
    EXPECT_TRUE(textNamed(d, r12() ? u"外字 丂" : u"外字 丂"));
    EXPECT_TRUE(d.isOnLockedLayer(*textNamed(d, u"承認済")));

    const Block *equip = d.block(u"EQUIP");
    ASSERT_TRUE(equip);
    std::vector<std::pair<std::u16string, std::u16string>> defs;
    int shapes = 0;
    for (EntityId id : d.entitiesOf(equip->id)) {
        const Entity &e = *d.entity(id);
        if (e.kind == EntityKind::AttributeDefinition)
            defs.emplace_back(e.tag, e.prompt);
        else
            ++shapes;
    }
    EXPECT_EQ(defs, (decltype(defs){{u"NAME", u"機器名"}, {u"SPEC", u"仕様"}}));
    EXPECT_EQ(shapes, 3);  // two lines and a circle

    const auto refs = inserts(d);
    ASSERT_EQ(refs.size(), 2u);
    EXPECT_EQ(refs[0]->blockName, u"EQUIP");
    EXPECT_EQ(refs[0]->layer, u"機器");
    ASSERT_EQ(refs[0]->attributes.size(), 3u);
    const Entity *name1 = d.entity(refs[0]->attributes[0]);
    const Entity *name2 = d.entity(refs[0]->attributes[1]);
    EXPECT_EQ(name1->tag, u"NAME");
    EXPECT_EQ(name1->text, u"MCCB1");
    EXPECT_EQ(name1->alignment, AlignCenter);
    EXPECT_EQ(name1->owner, refs[0]->id);
    EXPECT_EQ(name2->tag, u"NAME");
    EXPECT_EQ(name2->text, u"MCCB1-2");
    EXPECT_EQ(d.entity(refs[1]->attributes[2])->text, u"AC200V 18A");

    // File handles are the drawing's; new ones start at $HANDSEED.
    const std::string dump = ezdxfDump(source());
    const std::size_t at = dump.find("handseed ");
    ASSERT_NE(at, std::string::npos) << dump;
    const std::uint64_t seed = hexValue(dump.substr(at + 9, dump.find('\n', at) - at - 9));
    EXPECT_GE(d.nextHandle(), seed);
    EXPECT_NE(dump.find("TEXT " + u8(title->handle) + " "), std::string::npos) << dump;
}

// --- Saving --------------------------------------------------------------------------------

TEST_P(EzdxfDrawing, SavedEditsCopiesAndErasuresReadBackInEzdxf)
{
    Drawing d;
    dxf::DrawingFile f = dxf::DrawingFile::load(slurp(source()), d);
    const std::string dumpBefore = ezdxfDump(source());
    const std::uint64_t seed = hexValue(dumpBefore.substr(dumpBefore.find("handseed ") + 9, 2));

    const Entity *left = textNamed(d, u"左寄せ ABC");
    d.modify(left->id, u"TextString", [](Entity &e) { e.text = u"編集済み Ä"; });
    d.modify(textNamed(d, u"右寄せ")->id, u"Alignment", [](Entity &e) {
        e.alignment = AlignMiddleLeft;
        e.alignmentPoint = {100, 260, 0};
    });
    auto refs = inserts(d);
    const std::u16string keptHandle = refs[0]->handle, erasedHandle = refs[1]->handle;
    d.modify(refs[0]->attributes[1], u"TextString", [](Entity &e) { e.text = u"二番目"; });
    const EntityId textCopy = d.copy(textNamed(d, u"上中央")->id);
    d.modify(textCopy, u"TextString", [](Entity &e) { e.text = u"写し"; });
    d.modify(textCopy, u"InsertionPoint", [](Entity &e) {
        e.insertionPoint = {160, 240, 0};
        e.alignmentPoint = {160, 240, 0};
    });
    const EntityId refCopy = d.copy(refs[0]->id);
    d.modify(d.entity(refCopy)->attributes[2], u"TextString", [](Entity &e) { e.text = u"写しの仕様"; });
    d.erase(refs[1]->id);
    d.setLayerLocked(u"承認", false);

    const fs::path out = scratch(std::string("saved_") + GetParam());
    f.save(d, out);
    const std::string dump = ezdxfDump(out);
    SCOPED_TRACE(dump);
    EXPECT_TRUE(dump.starts_with("audit 0\n"));
    // Not in CP932: escaped (ezdxf shows escapes as written).
    EXPECT_NE(dump.find(r12() ? "text=編集済み \\U+00C4" : "text=編集済み Ä"), std::string::npos);
    EXPECT_NE(dump.find("h=0 v=2 at=100,250 align=100,260 text=右寄せ"), std::string::npos);
    EXPECT_NE(dump.find("tag=NAME h=0 v=0 at=90,202 text=二番目"), std::string::npos);
    EXPECT_NE(dump.find("h=1 v=3 at=160,240 align=160,240 text=写し"), std::string::npos);
    EXPECT_NE(dump.find("text=上中央"), std::string::npos);
    EXPECT_NE(dump.find("INSERT " + u8(keptHandle) + " "), std::string::npos);
    EXPECT_EQ(dump.find("INSERT " + u8(erasedHandle) + " "), std::string::npos);
    EXPECT_EQ(dump.find("text=MC1-2"), std::string::npos);  // went with its reference
    EXPECT_NE(dump.find("text=写しの仕様"), std::string::npos);
    EXPECT_NE(dump.find("LAYER 承認 locked=0"), std::string::npos);

    // New handles lie at or above the old seed, the new seed above them all.
    const Entity *copied = d.entity(textCopy);
    const Entity *copiedRef = d.entity(refCopy);
    EXPECT_GE(hexValue(u8(copied->handle)), seed);
    const std::uint64_t newSeed = hexValue(
        dump.substr(dump.find("handseed ") + 9, dump.find('\n', dump.find("handseed ")) - dump.find("handseed ") - 9));
    for (std::u16string h : {copied->handle, copiedRef->handle, d.entity(copiedRef->attributes[0])->handle})
        EXPECT_GT(newSeed, hexValue(u8(h)));
    EXPECT_NE(dump.find("TEXT " + u8(copied->handle) + " "), std::string::npos);
    EXPECT_NE(dump.find("INSERT " + u8(copiedRef->handle) + " "), std::string::npos);
    if (!r12()) {
        // The copy's ATTRIBs and SEQEND belong to it (ezdxf reports owners of its own).
        const std::string saved = slurp(out), owner = "\n330\n" + u8(copiedRef->handle) + "\n";
        std::size_t owned = 0;
        for (std::size_t p = saved.find(owner); p != std::string::npos; p = saved.find(owner, p + 1))
            ++owned;
        EXPECT_EQ(owned, 4u);
    }

    // What was saved opens again with the same values; a second save of the
    // unchanged drawing changes nothing.
    Drawing again;
    dxf::DrawingFile g = dxf::DrawingFile::load(slurp(out), again);
    EXPECT_EQ(textNamed(again, u"写し")->handle, copied->handle);
    EXPECT_EQ(textNamed(again, u"右寄せ")->alignmentPoint, (cad::Point{100, 260, 0}));
    EXPECT_EQ(inserts(again).size(), 2u);
    EXPECT_EQ(f.render(d), slurp(out));
    // Later copies still get handles no saved entity has.
    const EntityId third = d.copy(textCopy);
    EXPECT_GE(hexValue(u8(d.entity(third)->handle)), newSeed);
}

INSTANTIATE_TEST_SUITE_P(Drawings, EzdxfDrawing, testing::Values("r12_cp932.dxf", "r2010_utf8.dxf"),
                         [](const auto &info) {
                             return std::string(info.param).substr(0, info.param[1] == '1' ? 3 : 5);
                         });

TEST(DxfSave, EditRewritesOnlyItsValueAndCopiesOfFilesWithoutHandlesGetNone)
{
    Drawing d;
    dxf::DrawingFile f = dxf::DrawingFile::load(kTinyR12, d);
    const Entity *abc = textNamed(d, u"ABC");
    ASSERT_TRUE(abc);
    EXPECT_FALSE(abc->handle.empty());  // synthetic, for HandleToObject
    d.modify(abc->id, u"TextString", [](Entity &e) { e.text = u"ソ表😀"; });
    std::string expected = kTinyR12;
    expected.replace(expected.find("  1\nABC\n"), 8, "  1\n\x83\x5C\x95\x5C\\U+D83D\\U+DE00\n");
    EXPECT_EQ(f.render(d), expected);
    d.undo();  // back as read: back to the same bytes
    EXPECT_EQ(f.render(d), kTinyR12);
    d.redo();

    const EntityId copy = d.copy(abc->id);
    d.modify(copy, u"InsertionPoint", [](Entity &e) { e.insertionPoint = {1, 7.5, 0}; });
    const std::string withCopy = f.render(d);
    const std::string copyTags
        = "  0\nTEXT\n  8\n0\n 10\n1.0\n 20\n7.5\n 30\n0.0\n 40\n2.5\n  1\n\x83\x5C\x95\x5C\\U+D83D\\U+DE00\n";
    EXPECT_NE(withCopy.find(copyTags + "  0\nENDSEC\n"), std::string::npos) << withCopy;
    EXPECT_EQ(withCopy.find("\n  5\n"), std::string::npos);  // synthetic handles are never written

    Drawing back;
    dxf::DrawingFile::load(withCopy, back);
    EXPECT_TRUE(textNamed(back, u"ソ表😀"));
}

TEST(DxfSave, MissingGroupsAreAddedInTheFilesOwnFormat)
{
    std::string crlf;
    for (char c : kTinyR12)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    Drawing d;
    dxf::DrawingFile f = dxf::DrawingFile::load(crlf, d);
    d.modify(textNamed(d, u"ABC")->id, u"Alignment", [](Entity &e) {
        e.alignment = AlignMiddleCenter;
        e.alignmentPoint = {5, 6, 0};
        e.height = 3;
    });
    std::string expected = crlf;
    expected.replace(expected.find(" 40\r\n2.5\r\n"), 10, " 40\r\n3.0\r\n");
    expected.replace(expected.find("  1\r\nABC\r\n"), 10,
                     "  1\r\nABC\r\n 72\r\n1\r\n 11\r\n5.0\r\n 21\r\n6.0\r\n 73\r\n2\r\n");
    EXPECT_EQ(f.render(d), expected);
    Drawing back;
    dxf::DrawingFile::load(expected, back);
    EXPECT_EQ(textNamed(back, u"ABC")->alignment, AlignMiddleCenter);
    EXPECT_EQ(textNamed(back, u"ABC")->alignmentPoint, (cad::Point{5, 6, 0}));
}

TEST(DxfSave, BuiltInDrawingBecomesANewFileEzdxfReads)
{
    Drawing d;
    buildSampleDrawing(d);
    const fs::path out = scratch("sample.dxf");
    dxf::writeFileAtomically(out, dxf::writeNewFile(d));
    const std::string dump = ezdxfDump(out);
    EXPECT_TRUE(dump.starts_with("audit 0\n")) << dump;
    EXPECT_NE(dump.find("LAYER 承認 locked=1"), std::string::npos) << dump;
    const Entity *title = textNamed(d, u"制御盤 展開接続図");
    EXPECT_NE(
        dump.find("TEXT " + u8(title->handle) + " layer=注記 h=1 v=2 at=210,286 align=210,286 text=制御盤 展開接続図"),
        std::string::npos)
        << dump;
    EXPECT_NE(dump.find("tag=CST h=0 v=0 at=243,43.5 text=株式会社 タルボ工業"), std::string::npos) << dump;

    Drawing back;
    dxf::DrawingFile::load(slurp(out), back);
    EXPECT_EQ(back.modelSpace().size(), d.modelSpace().size());
    EXPECT_EQ(back.entityByHandle(title->handle)->text, title->text);
    EXPECT_GE(back.nextHandle(), d.nextHandle());
}

TEST(DxfSave, FailedWriteLeavesNoTemporaryAndSaysWhy)
{
    Drawing d;
    dxf::DrawingFile f = dxf::DrawingFile::load(kTinyR12, d);
    // A folder of its own: other tests save beside it at the same time.
    const fs::path dir = scratch("failed-write") / "target-is-a-directory.dxf";
    fs::create_directories(dir / "inside");
    try {
        f.save(d, dir);
        FAIL() << "saved onto a directory";
    } catch (const dxf::Error &e) {
        EXPECT_NE(std::string(e.what()).find("に保存できません"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(fs::is_directory(dir / "inside"));
    for (const auto &entry : fs::directory_iterator(dir.parent_path()))
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
    EXPECT_THROW(f.save(d, scratch("missing-dir") / "x" / "y.dxf"), dxf::Error);
}

// --- Encodings -------------------------------------------------------------------------------

TEST(DxfCodec, CodePageEscapesAndUnicodeFiles)
{
    const dxf::Codec sjis(false, "ANSI_932");
    EXPECT_EQ(sjis.codePage(), 932);
    EXPECT_EQ(sjis.encode(u"ソ表~\\"), "\x83\x5C\x95\x5C~\\");
    EXPECT_EQ(sjis.decode("\x83\x5C\x95\x5C"), u"ソ表");
    // The 0x5C of a trail byte starts no escape; a real backslash does.
    EXPECT_EQ(sjis.decode("\x83\x5CU+0041 \\U+0041"), u"ソU+0041 A");
    EXPECT_EQ(sjis.encode(u"丂Ä😀"), "\\U+4E02\\U+00C4\\U+D83D\\U+DE00");
    EXPECT_EQ(sjis.decode("\\U+4e02\\U+d83d\\U+DE00\\U+12"), u"丂😀\\U+12");
    EXPECT_EQ(sjis.decode("\x82"), u"\uFFFD");  // a lone lead byte

    const dxf::Codec utf8(true, "ANSI_932");
    EXPECT_EQ(utf8.decode("\\U+4E02 丂"), u"\\U+4E02 丂");  // kept as written
    EXPECT_EQ(utf8.encode(u"丂😀"), "丂😀");

    EXPECT_EQ(dxf::Codec(false, "ANSI_1252").decode("\xC4"), u"Ä");
    EXPECT_EQ(dxf::Codec(false, "nonsense").codePage(), 1252);
}

// --- Damaged files --------------------------------------------------------------------------

TEST(DxfErrors, DamagedFilesSayWhereAndOpenNothing)
{
    const std::string good = slurp(kDrawings / "r2010_utf8.dxf");
    const std::size_t textAt = good.find("\nTEXT\n");
    const std::size_t pointValue = good.find(" 10\n", textAt) + 4;
    std::string badNumber = good;
    badNumber.replace(pointValue, 1, "x");
    std::string badCode = good;
    const std::size_t codeLine = good.find("\n  8\n", textAt) + 1;
    badCode.replace(codeLine, 3, "  Q");
    const std::size_t seqEnd = good.find("\nSEQEND\n") - 3;
    std::string noSeqEnd = good;
    noSeqEnd.replace(good.find("\nSEQEND\n") + 1, 6, "CIRCLE");
    std::string binary = "AutoCAD Binary DXF\r\n\x1a";
    binary += std::string("\0\0\x02\0SECTION", 12);

    struct Case {
        const char *label;
        std::string bytes;
        std::size_t line;
        const char *expected;
    };
    const Case cases[] = {
        {"truncated in a section", good.substr(0, good.size() / 2 - good.size() / 2 % 2), 0, "\"0 ENDSEC\""},
        {"truncated after a code", good.substr(0, codeLine + 4), lineAt(good, codeLine) + 1, "グループ 8 の値"},
        {"empty", "", 1, "\"0 SECTION\" または \"0 EOF\""},
        {"binary", binary, 1, "テキスト形式の DXF"},
        {"random bytes", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), 1, "グループコード (整数)"},
        {"bad group code", badCode, lineAt(good, codeLine), "グループコード (整数)"},
        {"bad number", badNumber, lineAt(good, pointValue), "グループ 10 の数値"},
        {"reference without SEQEND", noSeqEnd, lineAt(good, seqEnd + 3), "ATTRIB か \"0 SEQEND\""},
        {"no EOF", good.substr(0, good.rfind("  0\nEOF")), 0, "\"0 SECTION\" または \"0 EOF\""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label);
        Drawing d;
        d.addText({.text = u"開いていた図面"});
        const std::uint64_t revision = d.revision();
        try {
            dxf::DrawingFile::load(c.bytes, d);
            ADD_FAILURE() << "opened";
        } catch (const dxf::Error &e) {
            const std::string what = e.what();
            EXPECT_NE(what.find(c.expected), std::string::npos) << what;
            if (c.line) {
                EXPECT_EQ(e.line(), c.line) << what;
                EXPECT_TRUE(what.starts_with("行 " + std::to_string(c.line) + ": ")) << what;
            } else {
                EXPECT_GT(e.line(), 0u) << what;
                EXPECT_NE(what.find("ファイルが途中で終わっています"), std::string::npos) << what;
            }
        }
        EXPECT_EQ(d.revision(), revision);
        EXPECT_TRUE(textNamed(d, u"開いていた図面"));
    }
}

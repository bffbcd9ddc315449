#include "app/appfiles.h"
#include "ui/picklist.h"
#include "ui/textfile.h"
#include "app/inidocument.h"
#include "app/settings.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// "タグ:C:\dir ①髙" and a second line, in CP932 (0x5C is a backslash).
const QByteArray kCp932 = QByteArray("\x83\x5E\x83\x4F:C:\x5C"
                                     "dir \x87\x40\xFB\xFC\r\nNAME:\x8B\x40\x8A\xED\r\n");

}  // namespace

class FilesTest : public QObject {
    Q_OBJECT
private slots:
    void decode_data();
    void decode();
    void roundTripByteForByte_data();
    void roundTripByteForByte();
    void unencodableCharacterFallsBackToUtf8Bom();
    void newFileIsUtf8BomWithCrLf();
    void interruptedWriteKeepsOldFile();
    void badInputGivesSensibleLines();

    void iniReadRules();
    void iniWritesInPlaceAndInOrder();
    void settingsRoundTrip();
    void pickIndexRule();
    void userDirectoryFallback();

private:
    QTemporaryDir m_dir;
};

void FilesTest::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("encoding");
    QTest::addColumn<QString>("lineBreak");
    QTest::addColumn<QStringList>("lines");
    const int u8 = int(TextEncoding::Utf8), bom = int(TextEncoding::Utf8Bom);
    QTest::newRow("cp932") << kCp932 << int(TextEncoding::Cp932) << "\r\n"
                           << QStringList{QStringLiteral("タグ:C:\\dir ①髙"), QStringLiteral("NAME:機器")};
    QTest::newRow("cp932 control bytes as Windows reads them")
        << QByteArray("\x83\x5E\x1A\x1C\x7F\n") << int(TextEncoding::Cp932) << "\n"
        << QStringList{QStringLiteral("タ\x1A\x1C\x7F")};
    QTest::newRow("utf8") << QByteArray("a\nb\n") << u8 << "\n" << QStringList{"a", "b"};
    QTest::newRow("utf8 bom") << QByteArray("\xEF\xBB\xBF\xE6\xA9\x9F\r\n") << bom << "\r\n" << QStringList{"機"};
    QTest::newRow("utf16le") << QByteArray("\xFF\xFE"
                                           "a\0\r\0\n\0",
                                           8)
                             << int(TextEncoding::Utf16LE) << "\r\n"
                             << QStringList{"a"};
    QTest::newRow("utf16be") << QByteArray("\xFE\xFF\0a\0\r", 6) << int(TextEncoding::Utf16BE) << "\r"
                             << QStringList{"a"};
    QTest::newRow("cr only") << QByteArray("a\rb") << u8 << "\r" << QStringList{"a", "b"};
    QTest::newRow("mixed: first break wins") << QByteArray("a\nb\r\nc\rd") << u8 << "\n"
                                             << QStringList{"a", "b", "c", "d"};
    QTest::newRow("final empty line dropped, inner kept") << QByteArray("a\r\n\r\n") << u8 << "\r\n"
                                                          << QStringList{"a", ""};
    QTest::newRow("empty") << QByteArray() << u8 << "\r\n" << QStringList{};
    // A lead byte cut off at the end is not silently dropped (fuzzer).
    QTest::newRow("cp932 cut off") << QByteArray("\xC9\xA1\x83") << bom << "\r\n" << QStringList{QStringLiteral("ﾉ｡")};
}

void FilesTest::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, encoding);
    QFETCH(QString, lineBreak);
    QFETCH(QStringList, lines);
    const TextFileContent c = decodeText(bytes);
    QCOMPARE(int(c.format.encoding), encoding);
    QCOMPARE(c.format.lineBreak, lineBreak);
    QCOMPARE(c.lines, lines);
}

void FilesTest::roundTripByteForByte_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("cp932") << kCp932;
    QTest::newRow("utf8 bom lf") << QByteArray("\xEF\xBB\xBF\xE6\xA9\x9F\n"
                                               "x\n");
    QTest::newRow("utf16le") << QByteArray("\xFF\xFE\x5F\x6A\r\0\n\0", 8);
    QTest::newRow("utf16be") << QByteArray("\xFE\xFF\x6A\x5F\0\n", 6);
    QTest::newRow("utf8 cr") << QByteArray("a\rb\r");
    QTest::newRow("bom then U+FEFF (fuzzer)") << QByteArray("\xFF\xFE\xFF\xFE\xFF\xFE\r\0\n\0", 10);
    QTest::newRow("utf8 bom twice") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF"
                                                  "a\r\n");
    QTest::newRow("cp932 control bytes") << QByteArray("\x83\x5E\x1A\x1C\x7F\r\n");
}

void FilesTest::roundTripByteForByte()
{
    QFETCH(QByteArray, bytes);
    const QString path = m_dir.filePath(QStringLiteral("round.txt"));
    writeAll(path, bytes);
    auto content = readTextFile(path);
    QVERIFY(content);
    const TextFormat before = content->format;
    writeTextFile(path, content->lines, content->format);
    QCOMPARE(content->format, before);
    QCOMPARE(readAll(path), bytes);
}

void FilesTest::unencodableCharacterFallsBackToUtf8Bom()
{
    const QString path = m_dir.filePath(QStringLiteral("fallback.txt"));
    writeAll(path, kCp932);
    auto content = readTextFile(path);
    QVERIFY(content);
    content->lines.append(QStringLiteral("EMOJI:😀 €"));
    writeTextFile(path, content->lines, content->format);
    QCOMPARE(content->format.encoding, TextEncoding::Utf8Bom);
    QVERIFY(readAll(path).startsWith("\xEF\xBB\xBF"));
    const auto again = readTextFile(path);
    QCOMPARE(again->lines, content->lines);  // nothing replaced by "?"
    QCOMPARE(again->format.lineBreak, QStringLiteral("\r\n"));
}

void FilesTest::newFileIsUtf8BomWithCrLf()
{
    const QString path = m_dir.filePath(QStringLiteral("new.txt"));
    TextFormat format;
    writeTextFile(path, {QStringLiteral("A"), QStringLiteral("機")}, format);
    QCOMPARE(readAll(path), QByteArray("\xEF\xBB\xBF"
                                       "A\r\n\xE6\xA9\x9F\r\n"));
}

void FilesTest::interruptedWriteKeepsOldFile()
{
    const QString path = m_dir.filePath(QStringLiteral("keep.txt"));
    writeAll(path, "old\r\n");
    TextFormat format;
    setTextFileWriteLimit(3);
    bool threw = false;
    try {
        writeTextFile(path, {QStringLiteral("new content")}, format);
    } catch (const std::runtime_error &e) {
        threw = true;
        QVERIFY(QString::fromUtf8(e.what()).contains(path));
    }
    setTextFileWriteLimit(-1);
    QVERIFY(threw);
    QCOMPARE(readAll(path), QByteArray("old\r\n"));
    // No temporary file is left behind.
    const QStringList left = QDir(m_dir.path()).entryList({QStringLiteral("keep.txt*")}, QDir::Files | QDir::Hidden);
    QCOMPARE(left, QStringList{QStringLiteral("keep.txt")});

    // A directory that does not exist: reported, not silently dropped.
    QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                             writeTextFile(m_dir.filePath(QStringLiteral("no/such/dir.txt")), {}, format));
}

void FilesTest::badInputGivesSensibleLines()
{
    // Binary junk: neither UTF-8 nor CP932; it is written back as UTF-8
    // with BOM holding the text that was read.
    QByteArray junk(4096, '\0');
    QRandomGenerator rng(42);
    for (char &c : junk)
        c = char(rng.bounded(256));
    junk[0] = char(0x81);  // no BOM, not UTF-8
    junk[1] = char(0xFF);
    TextFileContent c = decodeText(junk);
    QCOMPARE(c.format.encoding, TextEncoding::Utf8Bom);
    TextFormat f = c.format;
    const QByteArray out = encodeText(c.lines, f);
    QCOMPARE(decodeText(out).lines, c.lines);

    // Found by fuzzing: an invalid CP932 pair must not come back as
    // different text after a rewrite.
    const QByteArray pair("\x13\0$\0\x9F\0\x07", 7);
    c = decodeText(pair);
    f = c.format;
    QCOMPARE(decodeText(encodeText(c.lines, f)).lines, c.lines);

    // A 1 MB line without a final break.
    const QByteArray big(1 << 20, 'x');
    c = decodeText(big);
    QCOMPARE(c.lines.size(), 1);
    QCOMPARE(c.lines[0].size(), 1 << 20);
}

void FilesTest::iniReadRules()
{
    const IniDocument ini({
        QStringLiteral("; comment=1"),
        QStringLiteral("[TalvoEdit]"),
        QStringLiteral("  Left  =  12  "),
        QStringLiteral("Top=abc"),
        QStringLiteral("Sort=2"),
        QStringLiteral("junk line without equals"),
        QStringLiteral("=orphan"),
        QStringLiteral("sort=0"),
        QStringLiteral("AttTag=\"NAME:x\""),
        QStringLiteral("Big=99999999999"),
        QStringLiteral("[target"),
        QStringLiteral("ProgID=First"),
        QStringLiteral("[TALVOEDIT]"),
        QStringLiteral("Cursor=0"),
        QStringLiteral("Left=99"),
    });
    QCOMPARE(ini.intValue("TalvoEdit", "Left", -1), 12);        // blanks around "=" ignored
    QCOMPARE(ini.intValue("TalvoEdit", "Top", -1), -1);         // not an integer: default
    QCOMPARE(ini.intValue("TalvoEdit", "Big", -1), -1);         // out of range: default
    QCOMPARE(ini.boolValue("TalvoEdit", "Sort", false), true);  // first of a duplicate key, non-zero
    QCOMPARE(ini.stringValue("TalvoEdit", "AttTag"), QStringLiteral("NAME:x"));
    QCOMPARE(ini.stringValue("Target", "ProgID"), QStringLiteral("First"));  // header without "]"
    QCOMPARE(ini.boolValue("TalvoEdit", "Cursor", true), false);             // from the repeated section
    QVERIFY(!ini.value("TalvoEdit", "Missing"));
    QVERIFY(!ini.value("Nowhere", "Left"));
}

void FilesTest::iniWritesInPlaceAndInOrder()
{
    // A new file: the order of the writes, each key at the end of its section.
    IniDocument fresh;
    Settings s;
    s.Left = 10;
    s.Top = -20;
    writeSettings(fresh, s);
    const QStringList expected = {"[TalvoEdit]", "Left=10",        "Top=-20",  "Sort=1",
                                  "AttTag=",     "AttTagIndex2=0", "Cursor=1", "AttTagIndex1=0",
                                  "Sentou=0",    "UpperCase=1",    "Enter=1",  "ZoomCenter=0",
                                  "AttEnter=1",  "AttEnterDown=1", "[Target]", "ProgID=BricscadApp.AcadApplication"};
    QCOMPARE(fresh.lines(), expected);

    // An existing file keeps its other lines; values change where they stand.
    IniDocument old({"; mine", "[Other]", "x=1", "[TalvoEdit]", "top = 5", "Extra=keep", "", "[Target]"});
    writeSettings(old, s);
    QCOMPARE(old.lines().mid(0, 6), (QStringList{"; mine", "[Other]", "x=1", "[TalvoEdit]", "Top=-20", "Extra=keep"}));
    QCOMPARE(old.lines().at(6), QStringLiteral("Left=10"));
    QVERIFY(old.lines().contains(QStringLiteral("ProgID=BricscadApp.AcadApplication")));
    QCOMPARE(old.lines().indexOf("ProgID=BricscadApp.AcadApplication"), old.lines().indexOf("[Target]") + 1);

    // Saved as it was read: a CP932 settings file stays CP932.
    const QString path = m_dir.filePath(QStringLiteral("s.ini"));
    writeAll(path, QByteArray("[TalvoEdit]\r\nAttTag=\x83\x5E\x83\x4F\r\n"));
    IniDocument loaded = IniDocument::load(path);
    QCOMPARE(loaded.stringValue("TalvoEdit", "AttTag"), QStringLiteral("タグ"));
    loaded.setValue("TalvoEdit", "AttTag", QStringLiteral("機器"));
    loaded.save(path);
    QCOMPARE(readAll(path), QByteArray("[TalvoEdit]\r\nAttTag=\x8B\x40\x8A\xED\r\n"));
}

void FilesTest::settingsRoundTrip()
{
    Settings s;
    s.Left = -3000;
    s.Top = 7;
    s.ProgID = QStringLiteral("ZWCAD.Application");
    s.Sort = false;
    s.AttTag = QStringLiteral("NAME:機器名");
    s.AttTagIndex2 = -1;
    s.Cursor = false;
    s.AttTagIndex1 = 4;
    s.Sentou = true;
    s.UpperCase = false;
    s.Enter = false;
    s.ZoomCenter = true;
    s.AttEnter = false;
    s.AttEnterDown = false;
    IniDocument ini;
    writeSettings(ini, s);
    const Settings r = readSettings(IniDocument(ini.lines()), QPoint(1, 2));
    QCOMPARE(r.Left, s.Left);
    QCOMPARE(r.Top, s.Top);
    QCOMPARE(r.ProgID, s.ProgID);
    QCOMPARE(r.AttTag, s.AttTag);
    QCOMPARE(r.AttTagIndex1, 4);
    QCOMPARE(r.AttTagIndex2, -1);
    QCOMPARE((QList<bool>{r.Sort, r.Cursor, r.Sentou, r.UpperCase, r.Enter, r.ZoomCenter, r.AttEnter, r.AttEnterDown}),
             (QList<bool>{false, false, true, false, false, true, false, false}));

    // Nothing stored: the defaults, the centred position.
    const Settings d = readSettings(IniDocument(), QPoint(100, 50));
    QCOMPARE(d.Left, 100);
    QCOMPARE(d.Top, 50);
    QCOMPARE(d.ProgID, QStringLiteral("BricscadApp.AcadApplication"));
    QCOMPARE((QList<bool>{d.Sort, d.Cursor, d.Sentou, d.UpperCase, d.Enter, d.ZoomCenter, d.AttEnter, d.AttEnterDown}),
             (QList<bool>{true, true, false, true, true, false, true, true}));
}

void FilesTest::pickIndexRule()
{
    QCOMPARE(pickIndex(3, 5), 3);
    QCOMPARE(pickIndex(7, 5), 0);  // beyond the list: the first item
    QCOMPARE(pickIndex(5, 5), 0);
    QCOMPARE(pickIndex(-1, 5), -1);  // negative: nothing
    QCOMPARE(pickIndex(0, 0), -1);   // an empty list has nothing selected
    QCOMPARE(pickIndex(-7, 0), -1);
    QCOMPARE(sortedPickList({"b", "A", "a", "B"}), (QStringList{"A", "a", "b", "B"}));  // stable, no case
    QCOMPARE(sortedPickList({"NAME1:x", "NAME:y"}), (QStringList{"NAME:y", "NAME1:x"}));
    QCOMPARE(sortedPickList({"線番", "機器", "I/O"}), (QStringList{"I/O", "機器", "線番"}));
}

void FilesTest::userDirectoryFallback()
{
    const QString exeDir = m_dir.filePath(QStringLiteral("exe"));
    const QString userDir = m_dir.filePath(QStringLiteral("user/TalvoEditZ"));
    QDir().mkpath(exeDir);
    const AppFiles files(exeDir, QStringLiteral("TalvoEditZ"), userDir, false);
    QCOMPARE(files.iniFileName(), QStringLiteral("TalvoEditZ.ini"));
    // Nothing of the user's yet: read what lies beside the executable.
    QCOMPARE(files.readPath(kTagListFileName), exeDir + "/" + kTagListFileName);
    const QString target = files.writePath(kTagListFileName);
    QCOMPARE(target, userDir + "/" + kTagListFileName);
    QVERIFY(QDir(userDir).exists());
    writeAll(target, "X:1\r\n");
    QCOMPARE(files.readPath(kTagListFileName), target);

    const AppFiles beside = AppFiles::inDirectory(exeDir);
    QCOMPARE(beside.writePath(kTagListFileName), exeDir + "/" + kTagListFileName);
}

QTEST_GUILESS_MAIN(FilesTest)
#include "files_test.moc"

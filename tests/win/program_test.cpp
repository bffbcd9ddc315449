// The Windows program under Wine on a virtual display: its main window in
// this process against the test server registered under the default
// ProgID (real COM, out of process), and the real TalvoEditZ.exe started
// twice for the single-instance rule.
#include "comserver.h"

#include "app/appfiles.h"
#include "app/mainform.h"
#include "attrgrid/gui/attrgridmodel.h"
#include "attrgrid/gui/attrgridpage.h"
#include "cad/com/comdispatch.h"
#include "cad/com/comsession.h"
#include "cad/connection.h"
#include "cad/qt/qtwindowapi.h"
#include "cad/win/instancemarker.h"
#include "cad/win/win32windowapi.h"
#include "search/gui/resultgridview.h"
#include "search/gui/searchpage.h"
#include "textedit/gui/lineeditor.h"
#include "textedit/gui/textedittab.h"
#include "ui/talvoapplication.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using cad::Variant;

namespace {

constexpr const char16_t *kClassId = u"{8E0B9A31-5C44-4F0E-A7B2-1D3C5E7F9A10}";

// Lets the event loop run until `done` or the deadline.
bool waitFor(const std::function<bool()> &done, int milliseconds = 20000)
{
    QDeadlineTimer deadline(milliseconds);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return true;
}

QStringList qlines(std::initializer_list<const char16_t *> items)
{
    QStringList out;
    for (const char16_t *s : items)
        out << QString::fromUtf16(s);
    return out;
}

// The main window as the program builds it, its files in a fresh folder,
// and the test server (the drawing host) under the default ProgID.
class ProgramWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        // For the README's picture the server shows its drawing's texts.
        screenshot = qEnvironmentVariable("TALVO_SCREENSHOT");
        server = std::make_unique<wintest::ComServer>(cad::kDefaultProgID, kClassId,
                                                      screenshot.isEmpty() ? L"host" : L"host window");
        ASSERT_TRUE(server->running());
        cad::TargetProgID = cad::kDefaultProgID;
        control = cad::AttachCad();  // the test's own connection
        control.call(u"TalvoReset");
        control.call(u"TalvoAddLayer", {Variant(u"0"), Variant(false)});
        ASSERT_TRUE(dir.isValid());
        form = std::make_unique<TTalvoMainForm>(AppFiles::inDirectory(dir.path()));
        form->move(20, 40);
        form->show();
        cad::setMainWindowHandle(cad::QtWindowApi::handleOf(form.get()));
        tab = form->textTab();
        // Every message box is noted and closed, so none can hang a test.
        QObject::connect(&boxWatch, &QTimer::timeout, &boxWatch, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                boxes << box->windowTitle() + QStringLiteral(": ") + box->text();
                box->accept();
            }
        });
        boxWatch.start(20);
    }

    void TearDown() override
    {
        boxWatch.stop();
        cad::setMainWindowHandle(0);
        form.reset();
        try {
            if (control && !killed)
                control.call(u"TalvoQuit");
        } catch (const cad::Error &) {}
        control.reset();
        server.reset();
    }

    std::vector<std::u16string> addTexts(const QStringList &texts)
    {
        std::vector<std::u16string> handles;
        for (qsizetype i = 0; i < texts.size(); ++i) {
            Variant at = cad::fromPoint({10, 1000.0 - 10.0 * double(i), 0});
            handles.push_back(
                control.call(u"TalvoAddText", {Variant(texts[i].toStdU16String()), at, Variant(u"0")}).toString());
        }
        return handles;
    }

    void pick(const std::vector<std::u16string> &handles)
    {
        control.call(u"TalvoQueuePicks", {Variant(cad::VariantArray(handles.begin(), handles.end()))});
        tab->SpeedButton1->click();
    }

    QString textOf(const std::u16string &handle)
    {
        return QString::fromStdU16String(control.call(u"TalvoTextOf", {Variant(handle)}).toString());
    }

    std::unique_ptr<wintest::ComServer> server;
    cad::Object control;
    QTemporaryDir dir;
    std::unique_ptr<TTalvoMainForm> form;
    TextEditTab *tab = nullptr;
    bool killed = false;
    QString screenshot;
    QTimer boxWatch;
    QStringList boxes;  // "caption: text" of each message box shown
};

TEST_F(ProgramWindow, FetchEditAndWriteBackIsOneUndoStep)
{
    const QStringList picked = qlines({u"図番 A-101", u"品名 ﾎﾞﾙﾄ M12", u"数量 ３"});
    auto handles = addTexts(picked);
    pick(handles);
    ASSERT_EQ(tab->editor->lines(), picked);
    ASSERT_TRUE(tab->SpeedButton2->isEnabled());

    const int stepsBefore = control.call(u"TalvoUndoSteps").toInt();
    const QStringList edited = qlines({u"図番 A-102", u"品名 ﾎﾞﾙﾄ M12", u"数量 ４"});
    tab->editor->setLines(edited);
    tab->SpeedButton2->click();

    EXPECT_EQ(textOf(handles[0]), edited[0]);
    EXPECT_EQ(textOf(handles[1]), edited[1]);
    EXPECT_EQ(textOf(handles[2]), edited[2]);
    EXPECT_EQ(control.call(u"TalvoUndoSteps").toInt(), stepsBefore + 1);
    EXPECT_EQ(tab->editor->lines(), edited);
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join(u'\n').toStdString();
    // The pick's temporary selection set is gone again.
    EXPECT_TRUE(control.call(u"TalvoSelectionSetNames").toArray().empty());

    if (!screenshot.isEmpty()) {
        // The server's window refreshes five times a second.
        QDeadlineTimer settle(1500);
        while (!settle.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        EXPECT_TRUE(QGuiApplication::primaryScreen()->grabWindow(0, 0, 0, 920, 440).save(screenshot));
    }
}

TEST_F(ProgramWindow, ServerKilledDuringWriteBackShowsTheErrorAndKeepsTheEditor)
{
    QStringList texts;
    for (int i = 0; i < 120; ++i)
        texts << QStringLiteral("部品-%1").arg(i, 3, 10, QLatin1Char('0'));
    auto handles = addTexts(texts);
    pick(handles);
    ASSERT_EQ(tab->editor->lineCount(), 120);

    QStringList edited;
    for (const QString &s : texts)
        edited << s + QStringLiteral(" 改");
    tab->editor->setLines(edited);

    // The write-back lets messages run after each text: the server dies
    // after the first few dozen calls, well inside the loop.
    const auto start = cad::com::ComDispatch::calls();
    QTimer killer;
    QObject::connect(&killer, &QTimer::timeout, &killer, [&] {
        if (!killed && cad::com::ComDispatch::calls() - start >= 40) {
            server->kill();
            killed = true;
        }
    });
    killer.start(0);
    ASSERT_TRUE(boxes.isEmpty()) << boxes.join(u'\n').toStdString();

    tab->SpeedButton2->click();  // returns once the error box is closed
    killer.stop();

    EXPECT_TRUE(killed);
    ASSERT_EQ(boxes.size(), 1) << boxes.join(u'\n').toStdString();
    EXPECT_TRUE(boxes[0].startsWith(QStringLiteral("TalvoEditZ: "))) << boxes[0].toStdString();
    EXPECT_GT(boxes[0].trimmed().size(), QStringLiteral("TalvoEditZ:").size());
    EXPECT_EQ(tab->editor->lines(), edited);
    EXPECT_FALSE(tab->isBusy());
    EXPECT_TRUE(tab->SpeedButton1->isEnabled());
}

TEST_F(ProgramWindow, SearchFindsTheDrawingsTextsAndUpdateWritesTheChangedOnes)
{
    auto handles = addTexts(qlines({u"部品-A1", u"図番 X-7", u"部品-B2"}));
    form->PageControl1->setCurrentIndex(2);
    SearchPage *page = form->searchPage();
    page->Edit3->setText(QStringLiteral("部品"));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(page->Edit3, &enter);

    QAbstractItemModel *model = page->StringGrid2->model();
    QStringList found;
    for (int r = 0; r < model->rowCount(); ++r)
        found << model->index(r, 0).data().toString();
    found.sort();
    ASSERT_EQ(found, qlines({u"部品-A1", u"部品-B2"}));

    for (int r = 0; r < model->rowCount(); ++r)
        if (model->index(r, 0).data().toString() == QStringLiteral("部品-B2"))
            model->setData(model->index(r, 0), QStringLiteral("部品-B3"));
    const int stepsBefore = control.call(u"TalvoUndoSteps").toInt();
    page->SpeedButton15->click();

    EXPECT_EQ(textOf(handles[2]), QStringLiteral("部品-B3"));
    EXPECT_EQ(textOf(handles[0]), QStringLiteral("部品-A1"));
    EXPECT_EQ(textOf(handles[1]), QStringLiteral("図番 X-7"));
    EXPECT_EQ(control.call(u"TalvoUndoSteps").toInt(), stepsBefore + 1);
    ASSERT_EQ(boxes.size(), 1) << boxes.join(u'\n').toStdString();
    EXPECT_TRUE(boxes[0].contains(QStringLiteral("1 / 1 個の TEXT を更新しました"))) << boxes[0].toStdString();
    EXPECT_TRUE(control.call(u"TalvoSelectionSetNames").toArray().empty());
}

TEST_F(ProgramWindow, AttributeGridFetchesEditsAndWritesBackInOneUndoStep)
{
    auto strings = [](std::initializer_list<const char16_t *> items) {
        cad::VariantArray out;
        for (const char16_t *s : items)
            out.emplace_back(s);
        return Variant(std::move(out));
    };
    control.call(u"TalvoAddBlock", {Variant(u"EQ"), strings({u"NAME", u"RATING"}), strings({u"名称", u"仕様"})});
    std::vector<std::u16string> refs;
    refs.push_back(control
                       .call(u"TalvoAddInsert", {Variant(u"EQ"), cad::fromPoint({0, 30, 0}),
                                                 strings({u"NAME", u"RATING"}), strings({u"ポンプ-1", u"1kW"})})
                       .toString());
    refs.push_back(control
                       .call(u"TalvoAddInsert", {Variant(u"EQ"), cad::fromPoint({0, 10, 0}),
                                                 strings({u"NAME", u"RATING"}), strings({u"ポンプ-2", u"3kW"})})
                       .toString());

    form->PageControl1->setCurrentIndex(1);
    AttrGridPage *page = form->attrPage();
    page->ComboBox2->clear();
    page->ComboBox2->addItem(QStringLiteral("機器[EQ*],NAME,RATING"));
    control.call(u"TalvoQueuePicks", {Variant(cad::VariantArray(refs.begin(), refs.end()))});
    page->SpeedButton10->click();
    ASSERT_TRUE(boxes.isEmpty()) << boxes.join(u'\n').toStdString();

    AttrGridModel *model = page->model();
    auto cell = [&](int col, int row) { return model->indexOfCell(col, row).data().toString(); };
    ASSERT_EQ(cell(1, 1), QStringLiteral("ポンプ-1"));  // top to bottom
    ASSERT_EQ(cell(2, 2), QStringLiteral("3kW"));

    model->setCellText(2, 1, u"1.5kW");
    model->setCellText(1, 2, u"ポンプ-2A");
    const int stepsBefore = control.call(u"TalvoUndoSteps").toInt();
    page->SpeedButton11->click();

    EXPECT_EQ(control.call(u"TalvoAttributeOf", {Variant(refs[0]), Variant(u"RATING")}).toString(), u"1.5kW");
    EXPECT_EQ(control.call(u"TalvoAttributeOf", {Variant(refs[1]), Variant(u"NAME")}).toString(), u"ポンプ-2A");
    EXPECT_EQ(control.call(u"TalvoAttributeOf", {Variant(refs[0]), Variant(u"NAME")}).toString(), u"ポンプ-1");
    EXPECT_EQ(control.call(u"TalvoUndoSteps").toInt(), stepsBefore + 1);
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join(u'\n').toStdString();
    EXPECT_TRUE(control.call(u"TalvoSelectionSetNames").toArray().empty());
}

TEST_F(ProgramWindow, JapaneseTextHasASansSerifFont)
{
    // The fonts the program names are Windows fonts; where Wine lacks
    // them the substitutes are sans-serif, and the Japanese font the
    // scripts install is there for the text.
    EXPECT_TRUE(QFontDatabase::families().contains(QStringLiteral("VL Gothic")));
    const QString editorFamily = QFontInfo(tab->editor->font()).family();
    const QStringList acceptable = {QStringLiteral("ＭＳ ゴシック"),
                                    QStringLiteral("MS Gothic"),
                                    QStringLiteral("VL Gothic"),
                                    QStringLiteral("IPAGothic"),
                                    QStringLiteral("Noto Sans Mono CJK JP"),
                                    QStringLiteral("TakaoGothic"),
                                    QStringLiteral("DejaVu Sans Mono")};
    EXPECT_TRUE(acceptable.contains(editorFamily)) << editorFamily.toStdString();
    EXPECT_TRUE(QFontInfo(tab->editor->font()).fixedPitch());
    const QString mainFamily = QFontInfo(form->font()).family();
    for (const char *serif : {"Serif", "Times", "Mincho", "明朝"})
        EXPECT_FALSE(mainFamily.contains(QString::fromUtf8(serif))) << mainFamily.toStdString();
    EXPECT_TRUE(QFontMetrics(QFont(QStringLiteral("VL Gothic"))).inFont(QChar(u'図')));
}

// A tag list as a Windows editor saves it: CP932 with CR LF, with a
// half-width katakana, NEC and IBM extension characters and a backslash.
TEST(ProgramFiles, Cp932TagListIsReadAndWrittenBackByteForByte)
{
    const QByteArray bytes = QByteArray("A1:\x90\x7d\x94\xd4\r\n"             // A1:図番
                                        "B2:\x95\x69\x96\xbc\r\n"             // B2:品名
                                        "C3:\xbb\xb2\xbd\xde\r\n"             // C3:ｻｲｽﾞ
                                        "D4:\x87\x40\x87\x41\r\n"             // D4:①②
                                        "E5:\xfb\xfc\x8d\xe8\r\n"             // E5:髙崎
                                        "F6:C:\\CAD\\\x90\x7d\x96\xca\r\n");  // F6:C:\CAD\図面
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = QDir(dir.path()).filePath(QStringLiteral("TalvoEditTagList.txt"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    {
        TTalvoMainForm form(AppFiles::inDirectory(dir.path()));
        QStringList items;
        for (int i = 0; i < form.ComboBox1->count(); ++i)
            items << form.ComboBox1->itemText(i);
        EXPECT_EQ(items, qlines({u"A1:図番", u"B2:品名", u"C3:ｻｲｽﾞ", u"D4:①②", u"E5:髙崎", u"F6:C:\\CAD\\図面"}));
        form.show();
        form.close();  // writes the settings and the tag list
    }
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), bytes);
}

std::wstring windowsPath(const std::string &path)
{
    // Wine sees the host's root as drive Z:.
    std::wstring out = path.starts_with('/') ? L"Z:" : L"";
    for (char c : path)
        out += c == '/' ? L'\\' : wchar_t(static_cast<unsigned char>(c));
    return out;
}

struct Process {
    PROCESS_INFORMATION info{};
    bool started = false;
    explicit Process(const std::wstring &exe)
    {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        std::wstring command = L"\"" + exe + L"\"";
        started = CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &info);
    }
    ~Process()
    {
        if (!started)
            return;
        if (WaitForSingleObject(info.hProcess, 0) != WAIT_OBJECT_0)
            TerminateProcess(info.hProcess, 1);
        CloseHandle(info.hProcess);
        CloseHandle(info.hThread);
    }
    bool running() const { return started && WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT; }
    int waitForExit(DWORD ms) const
    {
        DWORD code = 0;
        if (WaitForSingleObject(info.hProcess, ms) != WAIT_OBJECT_0 || !GetExitCodeProcess(info.hProcess, &code))
            return -1;
        return int(code);
    }
};

int markerWindows()
{
    int n = 0;
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            wchar_t name[64] = {};
            GetClassNameW(w, name, 64);
            if (std::wstring(name) == cad::win::InstanceMarker::kClassName)
                ++*reinterpret_cast<int *>(p);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&n));
    return n;
}

// The visible top-level window of `pid` (the Qt main window).
HWND mainWindowOf(DWORD pid)
{
    struct Find {
        DWORD pid;
        HWND found;
    } find{pid, nullptr};
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            auto *f = reinterpret_cast<Find *>(p);
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == f->pid && IsWindowVisible(w) && !GetWindow(w, GW_OWNER)) {
                f->found = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&find));
    return find.found;
}

TEST(ProgramProcess, ASecondStartEndsAtOnceAndLeavesTheFirstAlone)
{
    ASSERT_EQ(markerWindows(), 0);
    const std::wstring exe = windowsPath(TALVO_PROGRAM_EXE);
    Process first(exe);
    ASSERT_TRUE(first.started);
    HWND firstWindow = nullptr;
    ASSERT_TRUE(waitFor(
        [&] {
            firstWindow = mainWindowOf(first.info.dwProcessId);
            return markerWindows() == 1 && firstWindow;
        },
        60000));

    Process second(exe);
    ASSERT_TRUE(second.started);
    EXPECT_EQ(second.waitForExit(30000), 0);
    EXPECT_EQ(mainWindowOf(second.info.dwProcessId), nullptr);
    EXPECT_TRUE(first.running());
    EXPECT_EQ(markerWindows(), 1);

    // The first closes normally when asked.
    PostMessageW(firstWindow, WM_CLOSE, 0, 0);
    EXPECT_EQ(first.waitForExit(30000), 0);
    EXPECT_EQ(markerWindows(), 0);
}

}  // namespace

int main(int argc, char **argv)
{
    // As the program starts: its application object (the default error
    // report), COM for the GUI thread, the Win32 window functions.
    TalvoApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    int rc = 0;
    {
        cad::com::ComSession com;
        cad::win::Win32WindowApi windowApi;
        cad::setWindowApi(&windowApi);
        rc = RUN_ALL_TESTS();
        cad::setWindowApi(nullptr);
    }
    return rc;
}

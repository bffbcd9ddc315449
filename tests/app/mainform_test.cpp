#include "ui/captionfit.h"
#include "ui/messages.h"
#include "ui/picklist.h"
#include "ui/statuspanels.h"
#include "ui/textfile.h"
#include "app/mainform.h"
#include "attrgrid/gui/attrgridpage.h"
#include "textedit/gui/talvoattform.h"
#include "tools/gui/talvokasanform.h"
#include "tools/gui/talvorenbanform.h"
#include "tools/gui/talvotikanform.h"
#include "cad/connection.h"
#include "cad/messagefilter.h"
#include "ui/qstr.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRawFont>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <memory>

namespace {

QStringList g_messages;
void collect(const QString &caption, const QString &text)
{
    g_messages.append(caption + QLatin1Char('|') + text);
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

}  // namespace

class MainFormTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { setMessageSink(collect); }
    void init();
    void cleanup();
    void gridToolsOpenTheMainWindowsDialogs();

    void frame();
    void pageControls_data();
    void pageControls();
    void editorFontHasJapaneseGlyphs();

    void firstStartWithoutFiles();
    void storedSettingsApplyAndIndexRules();
    void captionFromTargetCadList();
    void failedWritesAreReportedAndWindowCloses();
    void tabChangeClearsStatusPanels();
    void resizeKeepsSearchColumnAsWideAsGrid();
    void versionMessage();
    void messageFilterLivesWithTheWindow();
    void pagesGoBeforeTheStateTheyReferTo();

private:
    std::unique_ptr<TTalvoMainForm> makeForm()
    {
        return std::make_unique<TTalvoMainForm>(AppFiles::inDirectory(m_dir->path()));
    }
    QString path(const QString &name) const { return m_dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void MainFormTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    g_messages.clear();
    cad::TargetProgID = cad::kDefaultProgID;
}

void MainFormTest::cleanup()
{
    setTextFileWriteLimit(-1);
}

void MainFormTest::frame()
{
    auto form = makeForm();
    QCOMPARE(form->metaObject()->className(), "TTalvoMainForm");
    QCOMPARE(form->windowTitle(), QStringLiteral("TalvoEdit"));
    QCOMPARE(form->size(), QSize(324, 320));
    QVERIFY(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!form->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(form->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QCOMPARE(form->font().family(), QStringLiteral("Tahoma"));
    QCOMPARE(form->font().pixelSize(), 12);

    auto *pages = form->findChild<QTabWidget *>(QStringLiteral("PageControl1"));
    QVERIFY(pages);
    QCOMPARE(pages->count(), 3);
    QCOMPARE(pages->currentIndex(), 0);
    const QStringList names = {"TabSheet1", "TabSheet2", "TEST"};
    const QStringList captions = {"TEXT, 属性編集", " 属性編集", "TEXT 検索・編集"};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(pages->widget(i)->objectName(), names[i]);
        QCOMPARE(pages->tabText(i), captions[i]);
    }

    auto *bar = form->findChild<QStatusBar *>(QStringLiteral("StatusBar1"));
    QVERIFY(bar);
    QCOMPARE(bar->findChild<QLabel *>(QStringLiteral("StatusPanel0"))->width(), 150);
    QCOMPARE(bar->findChild<QLabel *>(QStringLiteral("StatusPanel1"))->width(), 100);
    QCOMPARE(statusPanel(bar, 0), QString());

    auto *timer = form->findChild<QTimer *>(QStringLiteral("Timer1"));
    QVERIFY(timer && timer->isActive());
    QCOMPARE(timer->interval(), 200);
    QVERIFY(form->findChild<QMenu *>(QStringLiteral("PopupMenu1")));
    QVERIFY(form->findChild<QMenu *>(QStringLiteral("PopupMenu2")));
    QCOMPARE(form->N25->text(), QStringLiteral("バージョン情報"));
}

void MainFormTest::pageControls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("geometry");  // width/height 0: a label, position only
    QTest::addColumn<bool>("enabled");
    auto row = [](const char *name, const char *caption, QRect r, bool enabled = true) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromUtf8(caption) << r << enabled;
    };
    row("SpeedButton1", "TEXT", {6, 2, 49, 22});
    row("SpeedButton2", "更新(Ctrl+Enter)", {58, 2, 105, 22}, false);
    row("SpeedButton6", "整列", {163, 2, 44, 22}, false);
    row("Label3", "dX :", {213, 5, 0, 0});
    row("Edit1", "", {240, 2, 71, 22});
    row("SpeedButton8", "ATTR", {6, 23, 49, 22});
    row("ComboBox1", "", {58, 22, 126, 22});
    row("SpeedButton9", "...", {184, 23, 23, 22});
    row("Label4", "dY :", {213, 25, 0, 0});
    row("Edit2", "", {240, 23, 71, 22});
    row("Label1", "", {9, 51, 0, 0});
    row("Label2", "", {128, 50, 0, 0});
    row("SpeedButton7", "CAD", {5, 70, 36, 22});
    row("CheckBox1", "座標順取得", {50, 71, 83, 21});
    row("SpeedButton3", "すべて選択", {139, 70, 74, 22});
    row("SpeedButton5", "中止", {215, 71, 52, 22}, false);
    row("SpeedButton4", "Undo", {270, 71, 45, 22}, false);

    row("ComboBox2", "", {3, 3, 310, 22});
    row("SpeedButton10", "取得", {3, 31, 48, 34});
    row("SpeedButton12", "中止", {51, 31, 50, 34}, false);
    row("SpeedButton11", "更新", {103, 31, 50, 34}, false);
    row("SpeedButton13", "UNDO", {159, 43, 58, 22});
    row("Label5", "", {223, 51, 0, 0});
    row("CheckBox2", "Enter=[ ↓ ]", {3, 66, 82, 17});
    row("CheckBox7", "Enter = 更新", {91, 66, 90, 17});
    row("CheckBox6", "PAN (Zoom Center)", {187, 66, 134, 17});
    row("StringGrid1", "", {0, 89, 316, 175});
    row("ProgressBar1", "", {0, 264, 316, 8});

    row("Label7", "検索 (部分一致)", {3, 2, 0, 0});
    row("Edit3", "", {3, 22, 121, 24});
    row("Label8", "Enter=検索", {130, 20, 0, 0});
    row("Label6", "", {130, 32, 0, 0});
    row("SpeedButton14", "検索", {219, 24, 54, 41});
    row("SpeedButton15", "更新", {279, 24, 34, 41}, false);
    row("CheckBox3", "先頭一致", {3, 48, 66, 17});
    row("CheckBox4", "a->A", {78, 48, 46, 17});
    row("CheckBox8", "Enter=[↓]", {3, 71, 86, 17});
    row("CheckBox5", "Enter=更新", {95, 71, 93, 17});
    row("StringGrid2", "", {0, 96, 316, 176});
}

void MainFormTest::pageControls()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, geometry);
    QFETCH(bool, enabled);
    auto form = makeForm();
    auto *w = form->findChild<QWidget *>(name);
    QVERIFY2(w, qPrintable(name));
    // The design geometry, but a caption wider in this font grows its
    // control to the right.
    if (geometry.width() == 0) {
        QCOMPARE(w->pos(), geometry.topLeft());
    } else if (w->width() > geometry.width()) {
        QCOMPARE(w->pos(), geometry.topLeft());
        QCOMPARE(w->height(), geometry.height());
        QVERIFY(captionWidth(w) <= w->width());
    } else {
        QCOMPARE(w->geometry(), geometry);
    }
    QCOMPARE(w->isEnabled(), enabled);
    if (auto *b = qobject_cast<QAbstractButton *>(w))
        QCOMPARE(b->text(), caption);
    else if (auto *l = qobject_cast<QLabel *>(w))
        QCOMPARE(l->text(), caption);
    else if (auto *e = qobject_cast<QLineEdit *>(w))
        QCOMPARE(e->text(), QString());
}

void MainFormTest::editorFontHasJapaneseGlyphs()
{
    auto form = makeForm();
    QWidget *editor = form->findChild<QWidget *>(QStringLiteral("TabSheet1"))->findChild<QPlainTextEdit *>();
    QVERIFY(editor);
    const QFontInfo info(editor->font());
    const QRawFont raw = QRawFont::fromFont(QFont(info.family()));
    for (char32_t c : {U'あ', U'漢', U'ア', U'１'})
        QVERIFY2(raw.supportsCharacter(c), qPrintable(info.family()));
    // Fixed pitch in the Japanese sense: every half-width character one
    // cell, every full-width one two.
    const QFontMetricsF m(editor->font());
    const qreal cell = m.horizontalAdvance(QLatin1Char('i'));
    QCOMPARE(m.horizontalAdvance(QLatin1Char('W')), cell);
    QCOMPARE(m.horizontalAdvance(QStringLiteral("漢")), 2 * cell);
    QCOMPARE(m.horizontalAdvance(QStringLiteral("あ")), 2 * cell);
    // The window font reaches Japanese captions too (by fallback at least).
    QVERIFY(QFontMetrics(form->font()).inFontUcs4(U'属'));
}

void MainFormTest::firstStartWithoutFiles()
{
    auto form = makeForm();
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    // The outer size is centred, frame included.
    QVERIFY(form->windowHandle());
    const QMargins frame = form->windowHandle()->frameMargins();
    const QSize outer(324 + frame.left() + frame.right(), 320 + frame.top() + frame.bottom());
    QCOMPARE(form->pos(), QPoint((screen.width() - outer.width()) / 2, (screen.height() - outer.height()) / 2));
    QCOMPARE(form->PageControl1->currentIndex(), 0);
    QCOMPARE((QList<bool>{form->CheckBox1->isChecked(), form->CheckBox2->isChecked(), form->CheckBox3->isChecked(),
                          form->CheckBox4->isChecked(), form->CheckBox5->isChecked(), form->CheckBox6->isChecked(),
                          form->CheckBox7->isChecked(), form->CheckBox8->isChecked()}),
             (QList<bool>{true, true, false, true, true, false, true, true}));
    QCOMPARE(form->ComboBox1->currentText(), QStringLiteral("JCMNT1:コメント１"));
    QCOMPARE(form->ComboBox2->count(), 5);
    QCOMPARE(form->ComboBox2->currentText(), QStringLiteral("I/Oコメント,PIN1,IOADRS,JCMNT1,JCMNT2"));
    QCOMPARE(form->ComboBox2->itemText(4), QStringLiteral("線番,SENBAN"));
    QVERIFY(form->searchPage()->edit3UpperCase());

    QVERIFY(form->close());
    const QStringList ini = decodeText(readAll(path("TalvoEditZ.ini"))).lines;
    QStringList keys;
    for (const QString &line : ini)
        keys.append(line.section(QLatin1Char('='), 0, 0));
    QCOMPARE(keys, (QStringList{"[TalvoEdit]", "Left", "Top", "Sort", "AttTag", "AttTagIndex2", "Cursor",
                                "AttTagIndex1", "Sentou", "UpperCase", "Enter", "ZoomCenter", "AttEnter",
                                "AttEnterDown", "[Target]", "ProgID"}));
    QVERIFY(ini.contains(QStringLiteral("ZoomCenter=0")));
    QVERIFY(ini.contains(QStringLiteral("AttTag=JCMNT1:コメント１")));
    QCOMPARE(decodeText(readAll(path(kTagListFileName))).lines, builtInTagList());
    QVERIFY(!QFile::exists(path(kTagSetFileName)));  // never written
    QVERIFY(g_messages.isEmpty());
}

void MainFormTest::storedSettingsApplyAndIndexRules()
{
    writeAll(path("TalvoEditZ.ini"), "[TalvoEdit]\r\nLeft=-5000\r\nTop=77\r\nAttTagIndex1=7\r\nAttTagIndex2=-1\r\n"
                                     "Sort=0\r\nZoomCenter=1\r\nUpperCase=0\r\n[Target]\r\nProgID=My.CAD\r\n");
    // A CP932 tag list with a typed-in order; the combo shows it sorted.
    const QByteArray tags("Z:\x83\x5E\r\nA:\x8B\x40\r\nM:m\r\n");
    writeAll(path(kTagListFileName), tags);
    writeAll(path(kTagSetFileName), "b,X\nA,Y\n");
    {
        auto form = makeForm();
        QCOMPARE(form->pos(), QPoint(-5000, 77));  // off every screen, unchanged
        QCOMPARE(toQ(cad::TargetProgID), QStringLiteral("My.CAD"));
        QVERIFY(!form->CheckBox1->isChecked());
        QVERIFY(form->CheckBox6->isChecked());
        QVERIFY(!form->searchPage()->edit3UpperCase());
        QCOMPARE(form->ComboBox1->count(), 3);
        QCOMPARE(form->ComboBox1->currentIndex(), 0);  // 7 is beyond the list
        QCOMPARE(form->ComboBox1->currentText(), QStringLiteral("A:機"));
        QCOMPARE(form->ComboBox2->currentIndex(), -1);  // negative: nothing
        QCOMPARE(form->ComboBox2->currentText(), QString());
        form->ComboBox1->setEditText(QStringLiteral("typed"));
        QVERIFY(form->close());
    }
    const QStringList ini = decodeText(readAll(path("TalvoEditZ.ini"))).lines;
    QVERIFY(ini.contains(QStringLiteral("AttTag=typed")));
    QVERIFY(ini.contains(QStringLiteral("AttTagIndex2=-1")));
    QVERIFY(ini.contains(QStringLiteral("ProgID=My.CAD")));
    // Written back sorted, still CP932 with CR LF.
    QCOMPARE(readAll(path(kTagListFileName)), QByteArray("A:\x8B\x40\r\nM:m\r\nZ:\x83\x5E\r\n"));
    QCOMPARE(readAll(path(kTagSetFileName)), QByteArray("b,X\nA,Y\n"));
}

void MainFormTest::captionFromTargetCadList()
{
    writeAll(path("TargetCAD_APIVersion.txt"), "A\tProgA.Application\r\nB\tProgB.Application.22\r\n");
    writeAll(path("TalvoEditZ.ini"), "[Target]\r\nProgID=ProgB.Application\r\n");
    {
        auto form = makeForm();  // a leading part of B's ProgID matches B
        QCOMPARE(form->windowTitle(), QStringLiteral("TalvoEditZ [ B ]"));
    }
    writeAll(path("TalvoEditZ.ini"), "[Target]\r\nProgID=Other\r\n");
    auto form = makeForm();
    QCOMPARE(form->windowTitle(), QStringLiteral("TalvoEdit"));
}

void MainFormTest::failedWritesAreReportedAndWindowCloses()
{
    writeAll(path("TalvoEditZ.ini"), "[TalvoEdit]\r\nLeft=1\r\n");
    writeAll(path(kTagListFileName), "OLD:1\r\n");
    auto form = makeForm();
    setTextFileWriteLimit(4);
    QVERIFY(form->close());
    QCOMPARE(g_messages.size(), 2);  // each failed write reported once
    QVERIFY(g_messages[0].startsWith(QStringLiteral("TalvoEditZ|")));
    QCOMPARE(readAll(path("TalvoEditZ.ini")), QByteArray("[TalvoEdit]\r\nLeft=1\r\n"));
    QCOMPARE(readAll(path(kTagListFileName)), QByteArray("OLD:1\r\n"));
}

void MainFormTest::tabChangeClearsStatusPanels()
{
    auto form = makeForm();
    form->show();
    setStatusPanel(form->StatusBar1, 0, QStringLiteral("Row = 1"));
    setStatusPanel(form->StatusBar1, 1, QStringLiteral("selRows = 0"));
    form->PageControl1->setCurrentIndex(2);
    QCOMPARE(statusPanel(form->StatusBar1, 0), QString());
    QCOMPARE(statusPanel(form->StatusBar1, 1), QString());
}

void MainFormTest::resizeKeepsSearchColumnAsWideAsGrid()
{
    auto form = makeForm();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    form->PageControl1->setCurrentIndex(2);
    for (const QSize size : {QSize(500, 420), QSize(330, 330)}) {
        form->resize(size);
        QTRY_COMPARE(form->StringGrid2->width(), form->TEST->width());
        QCOMPARE(form->StringGrid2->columnWidth(0), form->StringGrid2->width());
        QCOMPARE(form->StringGrid2->geometry().bottom(), form->TEST->height() - 1);
    }
    // Hidden while the window resized: right once the page shows again.
    form->PageControl1->setCurrentIndex(0);
    form->resize(400, 380);
    form->PageControl1->setCurrentIndex(2);
    QTRY_COMPARE(form->StringGrid2->columnWidth(0), form->StringGrid2->width());
    QCOMPARE(form->StringGrid2->width(), form->TEST->width());
}

void MainFormTest::versionMessage()
{
    auto form = makeForm();
    form->N25->trigger();
    QCOMPARE(g_messages.size(), 1);
    QVERIFY(g_messages[0].startsWith(QStringLiteral("情報|TalvoEditZ")));
    QCOMPARE(g_messages[0].count(QLatin1Char('\n')), 1);

    // The box sits in the middle of the screen, wherever the window is.
    form->move(0, 0);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    const MessageSink sink = setMessageSink(nullptr);
    QPoint centre;
    QTimer::singleShot(0, form.get(), [&] {
        if (QWidget *box = QApplication::activeModalWidget()) {
            centre = box->geometry().center();
            box->close();
        }
    });
    form->N25->trigger();
    setMessageSink(sink);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY2((centre - screen.center()).manhattanLength() <= 2,
             qPrintable(QStringLiteral("box centre %1,%2").arg(centre.x()).arg(centre.y())));
}

void MainFormTest::messageFilterLivesWithTheWindow()
{
    QVERIFY(!cad::currentMessageFilter());
    auto form = makeForm();
    QVERIFY(cad::currentMessageFilter());
    form.reset();
    QVERIFY(!cad::currentMessageFilter());
}

QTEST_MAIN(MainFormTest)
// The grid's replace, addition and serial tools use the dialogs the main
// window was given; the replace dialog opens with the cell's text.
void MainFormTest::gridToolsOpenTheMainWindowsDialogs()
{
    auto form = makeForm();
    TTalvoTikanForm tikan;
    TTalvoKasanForm kasan;
    TTalvoRenbanForm renban;
    TTalvoAttForm att;
    form->setDialogs({&tikan, &kasan, &renban, &att});
    const GridToolDialogs &grid = form->attrPage()->dialogs;
    QVERIFY(grid.replace && grid.addition && grid.serial);

    QTimer::singleShot(0, &tikan, [&] {
        QCOMPARE(tikan.Edit1->text(), QStringLiteral("P-1"));
        tikan.Edit2->setText(QStringLiteral("Q"));
        tikan.Button1->click();
    });
    const auto request = grid.replace(u"P-1");
    QVERIFY(request);
    QCOMPARE(request->first, std::u16string(u"P-1"));
    QCOMPARE(request->second, std::u16string(u"Q"));

    QTimer::singleShot(0, &kasan, [&] { kasan.reject(); });
    QVERIFY(!grid.addition());
}

// A grid repainted while the window is destroyed reads the window's state
// (on Windows, destroying native windows can repaint): every page, menu
// and dialog must go while the window is still a TTalvoMainForm, its
// state alive, not later in ~QWidget.
void MainFormTest::pagesGoBeforeTheStateTheyReferTo()
{
    auto form = makeForm();
    QObject *window = form.get();  // the base every destructor stage shares
    int late = 0, seen = 0;
    for (QObject *child : form->children()) {
        ++seen;
        connect(child, &QObject::destroyed, [window, &late] {
            if (!dynamic_cast<TTalvoMainForm *>(window))
                ++late;
        });
    }
    QVERIFY(seen > 0);
    form.reset();
    QCOMPARE(late, 0);
}

#include "mainform_test.moc"

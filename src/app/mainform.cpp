#include "app/mainform.h"

#include "search/gui/resultgridview.h"

#include "ui/fonts.h"
#include "ui/guard.h"
#include "ui/messages.h"
#include "ui/ontop.h"
#include "ui/pagecontrols.h"
#include "ui/picklist.h"
#include "ui/statuspanels.h"
#include "app/settings.h"
#include "cad/connection.h"
#include "cad/messagefilter.h"
#include "ui/qstr.h"
#include "cad/qt/targetcadform.h"

#include "textedit/gui/editormenu.h"
#include "textedit/gui/talvoattform.h"
#include "tools/gui/talvokasanform.h"
#include "tools/gui/talvorenbanform.h"
#include "tools/gui/talvotikanform.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScopeGuard>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#ifndef TALVO_VERSION
#define TALVO_VERSION "0.1.0"
#endif

TTalvoMainForm::TTalvoMainForm(AppFiles files, QWidget *parent) : QWidget(parent), m_files(std::move(files))
{
    installFontSubstitutions();
    buildFrame();
    buildPages();
    FormCreate();
}

TTalvoMainForm::~TTalvoMainForm()
{
    // FormDestroy: the message filter goes first, then the cell undo lists.
    if (m_messageFilter)
        m_messageFilter->RevokeFilter();
    m_messageFilter.reset();
    m_state.attr.FUndoCells.Clear();
    m_state.FUndoCells2.Clear();
    // The pages, menus and dialogs refer to m_state, which dies before
    // ~QWidget would delete them; on Windows, destroying their native
    // windows can still repaint a grid. So they go first.
    while (!children().isEmpty())
        delete children().constFirst();
}

void TTalvoMainForm::buildFrame()
{
    setObjectName(QStringLiteral("TalvoMainForm"));
    setWindowTitle(QStringLiteral("TalvoEdit"));
    // System menu and minimise only; always above other windows.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    setFont(pixelFont(QStringLiteral("Tahoma"), 12));
    resize(324, 320);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // The window has no minimum size of its own (and the offscreen
    // platform warns about size hints on every show otherwise).
    layout->setSizeConstraint(QLayout::SetNoConstraint);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    layout->addWidget(PageControl1, 1);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    addStatusPanels(StatusBar1);
    layout->addWidget(StatusBar1);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(200);
    guardedConnect(Timer1, &QTimer::timeout, this, &TTalvoMainForm::Timer1Timer);
    Timer1->start();

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    N25 = PopupMenu1->addAction(QStringLiteral("バージョン情報"));
    N25->setObjectName(QStringLiteral("N25"));
    guardedConnect(N25, &QAction::triggered, this, &TTalvoMainForm::N25Click);
    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));

    guardedConnect(PageControl1, &QTabWidget::currentChanged, this, &TTalvoMainForm::PageControl1Change);
}

void TTalvoMainForm::buildPages()
{
    m_textTab = new TextTab(m_state, StatusBar1, PageControl1);
    TabSheet1 = m_textTab;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    PageControl1->addTab(TabSheet1, QStringLiteral("TEXT, 属性編集"));
    m_textTab->editor->setContextMenu(PopupMenu1);
    guardedConnect(m_textTab, &TextTab::targetCadRequested, this, &TTalvoMainForm::SpeedButton7Click);
    guardedConnect(m_textTab, &TextTab::tagListRequested, this, &TTalvoMainForm::SpeedButton9Click);
    ComboBox1 = m_textTab->ComboBox1;
    CheckBox1 = m_textTab->CheckBox1;

    m_attrPage = new AttrGridPage(m_state, StatusBar1, PopupMenu2, PageControl1);
    TabSheet2 = m_attrPage;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    PageControl1->addTab(TabSheet2, QStringLiteral(" 属性編集"));
    ComboBox2 = m_attrPage->ComboBox2;
    CheckBox2 = m_attrPage->CheckBox2;
    CheckBox6 = m_attrPage->CheckBox6;
    CheckBox7 = m_attrPage->CheckBox7;
    StringGrid1 = m_attrPage->StringGrid1;
    m_attrPage->tagSetFilePath = [this] { return m_files.readPath(kTagSetFileName); };
    guardedConnect(m_attrPage, &AttrGridPage::fetchStarted, this, [this] {
        m_textTab->Label1->clear();
        m_textTab->Label2->clear();
    });
    Label5 = m_attrPage->Label5;

    m_searchPage = new SearchPage(m_state, StatusBar1, PageControl1);
    TEST = m_searchPage;
    TEST->setObjectName(QStringLiteral("TEST"));
    PageControl1->addTab(TEST, QStringLiteral("TEXT 検索・編集"));
    Edit3 = m_searchPage->Edit3;
    Label6 = m_searchPage->Label6;
    CheckBox3 = m_searchPage->CheckBox3;
    CheckBox4 = m_searchPage->CheckBox4;
    CheckBox5 = m_searchPage->CheckBox5;
    CheckBox8 = m_searchPage->CheckBox8;
    StringGrid2 = m_searchPage->StringGrid2;
    // A hidden page learns its size only when shown again; the column
    // follows the grid then too.
    StringGrid2->installEventFilter(this);
}

void TTalvoMainForm::FormCreate()
{
    cad::TargetProgID = cad::kDefaultProgID;
    m_state.startCol = -1;
    m_state.startRow = -1;
    m_textTab->Edit1->clear();
    m_textTab->Edit2->clear();
    m_textTab->Label1->clear();
    m_textTab->Label2->clear();
    Label5->clear();
    Label6->clear();
    PageControl1->setCurrentIndex(0);
    StringGrid2->setColumnWidth(0, StringGrid2->width());
    m_textTab->editor->clearLines();

    // The native window exists from here on, so the default position can
    // centre the outer size, frame included.
    winId();
    const Settings settings = readSettingsFile();
    applySettings(settings);

    m_searchPage->setEdit3UpperCase(CheckBox4->isChecked());

    if (const auto lines = loadTargetCadList()) {
        if (const auto caption = TTargetCADForm::captionFor(*lines, toQ(cad::TargetProgID)))
            setWindowTitle(*caption);
    }

    loadPickLists(settings.AttTagIndex1, settings.AttTagIndex2);

    m_messageFilter = std::make_unique<cad::TMessageFilter>();
    m_messageFilter->RegisterFilter();

    // FUndoCells (in m_state.attr) is empty from the start; FUndoCells2 is
    // created here once the search grid's undo list exists.
}

bool TTalvoMainForm::FormCloseQuery()
{
    saveSettingsAndTagList();
    return true;  // closing never fails
}

void TTalvoMainForm::closeEvent(QCloseEvent *e)
{
    if (FormCloseQuery())
        e->accept();
}

void TTalvoMainForm::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    FormResize();
}

bool TTalvoMainForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == StringGrid2 && event->type() == QEvent::Resize)
        FormResize();
    return QWidget::eventFilter(watched, event);
}

void TTalvoMainForm::FormResize()
{
    if (StringGrid2)
        StringGrid2->setColumnWidth(0, StringGrid2->width());
}

void TTalvoMainForm::PageControl1Change()
{
    setStatusPanel(StatusBar1, 0, QString());
    setStatusPanel(StatusBar1, 1, QString());
}

void TTalvoMainForm::N25Click()
{
    // No parent: the box sits in the middle of the screen, not of this window.
    ShowInformation(QStringLiteral("TalvoEditZ 版 %1 (2026年12月)\n"
                                   "CAD 図面の文字列をまとめて編集します。")
                        .arg(QStringLiteral(TALVO_VERSION)),
                    nullptr);
}

void TTalvoMainForm::setDialogs(const Dialogs &dialogs)
{
    m_dialogs = dialogs;
    if (!m_editorMenu && dialogs.tikan && dialogs.kasan && dialogs.renban)
        m_editorMenu = new EditorMenu(*m_textTab, m_state, PopupMenu1, N25,
                                      {dialogs.tikan, dialogs.kasan, dialogs.renban}, this);
    // The grid's tools open the same dialogs, kept with their fields.
    GridToolDialogs &grid = m_attrPage->dialogs;
    if (auto *tikan = dialogs.tikan) {
        grid.replace
            = [this, tikan](const std::u16string &search) -> std::optional<std::pair<std::u16string, std::u16string>> {
            tikan->Edit1->setText(toQ(search));
            if (tikan->execFor(this) != QDialog::Accepted)
                return std::nullopt;
            const tools::ReplaceOptions o = tikan->options();
            if (o.search.empty())
                return std::nullopt;
            return std::pair(o.search, o.replacement);
        };
    }
    if (auto *kasan = dialogs.kasan) {
        grid.addition = [this, kasan]() -> std::optional<tools::AdditionOptions> {
            if (kasan->execFor(this) != QDialog::Accepted)
                return std::nullopt;
            return kasan->options();
        };
    }
    if (auto *renban = dialogs.renban) {
        grid.serial = [this, renban]() -> std::optional<tools::SerialRun> {
            if (renban->execFor(this, TTalvoRenbanForm::Target::Grid) != QDialog::Accepted)
                return std::nullopt;
            return renban->run();
        };
    }
}

void TTalvoMainForm::SpeedButton9Click()
{
    if (m_dialogs.att)
        m_dialogs.att->execFor(this, ComboBox1);
}

void TTalvoMainForm::SpeedButton7Click()
{
    if (m_targetCad)
        execOnTop(m_targetCad, this);
}

void TTalvoMainForm::Timer1Timer()
{
    if (PageControl1->currentIndex() != 0)
        return;
    // A slow tick (a message box, a busy CAD) never overlaps the next.
    Timer1->stop();
    const auto restart = qScopeGuard([this] { Timer1->start(); });
    guarded([this] { m_textTab->timerTick(); });
}

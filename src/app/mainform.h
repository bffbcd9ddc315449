#pragma once

#include "app/appfiles.h"
#include "state/mainstate.h"
#include "ui/textfile.h"

#include <QWidget>

#include <memory>

#include "attrgrid/gui/attrgridpage.h"
#include "attrgrid/gui/attrgridview.h"
#include "search/gui/searchpage.h"
#include "textedit/gui/lineeditor.h"
#include "textedit/gui/textedittab.h"

using TextTab = TextEditTab;

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QStatusBar;
class QTabWidget;
class QTableView;
class QTableWidget;
class QTimer;
class QToolButton;
class TTargetCADForm;
class TTalvoAttForm;
class TTalvoKasanForm;
class TTalvoRenbanForm;
class TTalvoTikanForm;
class EditorMenu;
struct Settings;

namespace cad {
class TMessageFilter;
}

// The program's one window: three tab pages over a two-panel status bar,
// always on top. Holds the state the pages share; the pages hold their
// own commands.
class TTalvoMainForm : public QWidget {
    Q_OBJECT
public:
    explicit TTalvoMainForm(AppFiles files, QWidget *parent = nullptr);
    ~TTalvoMainForm() override;  // FormDestroy

    // The dialog behind "CAD"; created after this window, not owned.
    void setTargetCADForm(TTargetCADForm *form) { m_targetCad = form; }
    // The dialogs of the text tools and the tag list, created after this
    // window and kept; not owned. The editor's context menu joins with them.
    struct Dialogs {
        TTalvoTikanForm *tikan = nullptr;
        TTalvoKasanForm *kasan = nullptr;
        TTalvoRenbanForm *renban = nullptr;
        TTalvoAttForm *att = nullptr;
    };
    void setDialogs(const Dialogs &dialogs);
    const Dialogs &dialogs() const { return m_dialogs; }
    EditorMenu *editorMenu() const { return m_editorMenu; }
    void SpeedButton9Click();
    // Reads and rewrites the target CAD list file for that dialog.
    std::optional<QStringList> loadTargetCadList();
    void saveTargetCadList(const QStringList &entries);

    MainState &state() { return m_state; }
    TextTab *textTab() const { return m_textTab; }
    AttrGridPage *attrPage() const { return m_attrPage; }
    SearchPage *searchPage() const { return m_searchPage; }
    const AppFiles &files() const { return m_files; }

    void FormCreate();
    bool FormCloseQuery();
    void FormResize();
    void PageControl1Change();
    void N25Click();
    void SpeedButton7Click();
    void Timer1Timer();

    // Frame.
    QStatusBar *StatusBar1 = nullptr;
    QTabWidget *PageControl1 = nullptr;
    QWidget *TabSheet1 = nullptr;
    QWidget *TabSheet2 = nullptr;
    QWidget *TEST = nullptr;
    QTimer *Timer1 = nullptr;
    QMenu *PopupMenu1 = nullptr;  // the line editor's; other items join before N25
    QMenu *PopupMenu2 = nullptr;  // StringGrid1's
    QAction *N25 = nullptr;       // "バージョン情報"

    // Controls of the pages the settings reach (owned by the pages).
    QComboBox *ComboBox1 = nullptr;
    QCheckBox *CheckBox1 = nullptr;
    QComboBox *ComboBox2 = nullptr;
    QCheckBox *CheckBox2 = nullptr;
    QCheckBox *CheckBox6 = nullptr;
    QCheckBox *CheckBox7 = nullptr;
    QTableView *StringGrid1 = nullptr;
    QLabel *Label5 = nullptr;
    QLineEdit *Edit3 = nullptr;
    QLabel *Label6 = nullptr;
    QCheckBox *CheckBox3 = nullptr;
    QCheckBox *CheckBox4 = nullptr;
    QCheckBox *CheckBox5 = nullptr;
    QCheckBox *CheckBox8 = nullptr;
    QTableView *StringGrid2 = nullptr;

protected:
    void closeEvent(QCloseEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildFrame();
    void buildPages();
    // Settings and list files (mainform_settings.cpp).
    QPoint centredPosition() const;
    Settings readSettingsFile() const;
    void applySettings(const Settings &s);
    Settings currentSettings() const;
    void loadPickLists(int index1, int index2);
    void saveSettingsAndTagList();

    MainState m_state;
    AppFiles m_files;
    TextTab *m_textTab = nullptr;
    AttrGridPage *m_attrPage = nullptr;
    SearchPage *m_searchPage = nullptr;
    TTargetCADForm *m_targetCad = nullptr;
    Dialogs m_dialogs;
    EditorMenu *m_editorMenu = nullptr;
    std::unique_ptr<cad::TMessageFilter> m_messageFilter;
    TextFormat m_tagListFormat;     // written back as the tag list was read
    TextFormat m_targetListFormat;  // the same for the target CAD list
};

#pragma once

#include "tools/serial.h"

#include <QDialog>

class QAbstractButton;
class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

// "連番作成": prefix, start number, suffix, step, count and radix of a run
// of serial-numbered strings, with a preview of the first and last one.
// Created once and kept; the fields and the radix persist between uses.
// The dialog checks the fields and closes with the run; the caller places
// the strings (editor lines inserted or appended, or grid cells).
class TTalvoRenbanForm : public QDialog {
    Q_OBJECT
public:
    enum class Target { Editor, Grid };
    enum class Placement { Insert, Append, Overwrite };

    explicit TTalvoRenbanForm(QWidget *parent = nullptr);

    // Shows the dialog modally while it holds the main window's
    // stay-on-top state. For the grid "挿入" is disabled and "追加" reads
    // "上書き" during this opening only. Returns the modal result; after
    // an OK result run() and placement() tell what to produce and where.
    int execFor(QWidget *mainWindow, Target target);

    tools::SerialFields fields() const;
    tools::Radix radix() const;
    const tools::SerialRun &run() const { return m_run; }
    Placement placement() const { return m_placement; }

    // Handler of "挿入" and "追加"/"上書き": reads the fields for
    // generation and closes with OK; a field error is shown and the dialog
    // stays open.
    void Button1Click(QAbstractButton *sender);
    // The preview; runs on every change of the fields and the radix.
    void Edit1Change();
    void FormCreate();

    QToolButton *SpeedButton1 = nullptr;  // 10 進
    QToolButton *SpeedButton2 = nullptr;  // 16 進
    QToolButton *SpeedButton3 = nullptr;  // 8 進
    QButtonGroup *radixGroup = nullptr;
    QLabel *Label5 = nullptr;  // radix indicator
    QLabel *Label1 = nullptr;
    QLineEdit *Edit1 = nullptr;  // prefix
    QLabel *Label2 = nullptr;
    QLineEdit *Edit2 = nullptr;  // start
    QLabel *Label3 = nullptr;
    QLineEdit *Edit3 = nullptr;  // suffix
    QLabel *Label6 = nullptr;
    QLineEdit *Edit5 = nullptr;  // step
    QLabel *Label8 = nullptr;
    QLabel *Label4 = nullptr;
    QLineEdit *Edit4 = nullptr;  // count
    QLabel *Label9 = nullptr;
    QLabel *Label7 = nullptr;
    QLabel *StaticText1 = nullptr;   // preview
    QPushButton *Button3 = nullptr;  // 挿入
    QPushButton *Button1 = nullptr;  // 追加 / 上書き
    QPushButton *Button2 = nullptr;  // 取り消し

protected:
    void showEvent(QShowEvent *e) override;

private:
    Target m_target = Target::Editor;
    tools::SerialRun m_run;
    Placement m_placement = Placement::Append;
};

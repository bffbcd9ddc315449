#pragma once

#include "tools/replace.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// "文字列置換": asks for the search and replacement strings. Created once
// and kept, so the fields and the check box keep their values between
// uses; callers prefill the fields and apply the replacement themselves.
class TTalvoTikanForm : public QDialog {
    Q_OBJECT
public:
    explicit TTalvoTikanForm(QWidget *parent = nullptr);

    // Shows the dialog modally while it holds the main window's
    // stay-on-top state. Returns the modal result.
    int execFor(QWidget *mainWindow);

    // The fields as they stand; read them only after an OK result.
    tools::ReplaceOptions options() const;

    void FormCreate();

    QCheckBox *CheckBox1 = nullptr;  // 大文字/小文字を無視
    QLabel *Label1 = nullptr;
    QLineEdit *Edit1 = nullptr;  // search
    QLabel *Label2 = nullptr;
    QLineEdit *Edit2 = nullptr;      // replacement
    QPushButton *Button1 = nullptr;  // 実行
    QPushButton *Button2 = nullptr;  // 取り消し

protected:
    void showEvent(QShowEvent *e) override;
};

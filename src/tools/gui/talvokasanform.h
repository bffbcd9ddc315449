#pragma once

#include "tools/number.h"

#include <QDialog>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace formkit {
class UpDown;
}

// "加算": the radix, the side to take the decimal number from, the digit
// count of the hexadecimal and octal rule and the addend. Created once and
// kept; its settings persist until the program ends.
class TTalvoKasanForm : public QDialog {
    Q_OBJECT
public:
    explicit TTalvoKasanForm(QWidget *parent = nullptr);

    // Shows the dialog modally while it holds the main window's
    // stay-on-top state. Returns the modal result.
    int execFor(QWidget *mainWindow);

    // The settings as they stand; the addend is 0 when Edit1 holds no
    // 32-bit whole number (callers then change nothing).
    tools::AdditionOptions options() const;
    tools::Radix radix() const;

    // Shared by the three radix buttons.
    void SpeedButton1Click();

    QToolButton *SpeedButton1 = nullptr;  // 10 進
    QToolButton *SpeedButton2 = nullptr;  // 16 進
    QToolButton *SpeedButton3 = nullptr;  // 8 進
    QButtonGroup *radixGroup = nullptr;
    QLabel *Label5 = nullptr;  // radix indicator
    QLabel *Label2 = nullptr;  // 数値検出
    QGroupBox *GroupBox1 = nullptr;
    QRadioButton *RadioButton1 = nullptr;  // 先頭から
    QRadioButton *RadioButton2 = nullptr;  // 末尾から
    QLabel *Label3 = nullptr;              // 対象桁数
    QLineEdit *Edit2 = nullptr;            // digit count
    formkit::UpDown *UpDown1 = nullptr;
    QLabel *Label1 = nullptr;        // 加算数
    QLineEdit *Edit1 = nullptr;      // addend
    QLabel *Label4 = nullptr;        // (10進表記)
    QPushButton *Button1 = nullptr;  // 実行
    QPushButton *Button2 = nullptr;  // 取り消し

protected:
    void showEvent(QShowEvent *e) override;
};

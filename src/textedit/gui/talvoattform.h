#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// "TAGリスト編集": edits the tag list of ComboBox1 (entries "TAG:PROMPT"),
// typed or taken from an attribute picked in the drawing ("参照").
// Created once and kept; the two fields keep their text between openings,
// the list is copied from the combo box at each opening.
class TTalvoAttForm : public QDialog {
    Q_OBJECT
public:
    explicit TTalvoAttForm(QWidget *parent = nullptr);

    // Copies the combo's items, shows the dialog modally while it holds
    // the main window's stay-on-top state, and on "OK" puts the entries
    // back into the combo. Returns the modal result.
    int execFor(QWidget *mainWindow, QComboBox *combo);

    QStringList entries() const;
    void setEntries(const QStringList &entries);

    void ListBox1Click();
    void Button1Click();       // 更新
    void Button2Click();       // 追加
    void Button3Click();       // 削除
    void Button4Click();       // OK
    void SpeedButton1Click();  // 参照

    QListWidget *ListBox1 = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *Edit1 = nullptr;  // tag
    QPushButton *SpeedButton1 = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *Edit2 = nullptr;  // prompt
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;
    QPushButton *Button3 = nullptr;
    QPushButton *Button4 = nullptr;
    QPushButton *Button5 = nullptr;

private:
    QString fieldsEntry() const;
    void selectRow(int row);

    QComboBox *m_combo = nullptr;
    int m_quiet = 0;  // > 0 while the program moves the selection
};

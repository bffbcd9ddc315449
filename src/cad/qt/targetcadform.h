#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// "ターゲット CAD": the user's list of named ProgIDs, one "name<TAB>ProgID"
// entry each. The list is kept in a file the dialog reaches through two
// functions, so file handling and its error report stay with the caller.
// Created once and kept for the whole run: the list and both fields keep
// their contents between openings.
class TTargetCADForm : public QDialog {
    Q_OBJECT
public:
    // The file's lines, or nothing when there is no file.
    using LoadList = std::function<std::optional<QStringList>()>;
    // Rewrites the whole file from the list.
    using SaveList = std::function<void(const QStringList &)>;

    TTargetCADForm(LoadList load, SaveList save, QWidget *parent = nullptr);

    // The window whose caption "OK" sets.
    void setMainWindow(QWidget *w) { m_mainWindow = w; }

    // The index of the first line holding a tab followed by `progId`
    // (a leading part of a longer ProgID matches too), or -1.
    static int findEntry(const QStringList &lines, const QString &progId);
    // The caption at start: "TalvoEditZ [ name ]" for the first such line
    // of the file, or nothing (the caption stays).
    static std::optional<QString> captionFor(const QStringList &lines, const QString &progId);

    QStringList entries() const;

    void FormShow();
    void ListBox1Click();
    void SpeedButton1Click();          // 追加
    void SpeedButton2Click();          // 削除
    void SpeedButton3Click();          // 変更
    bool Edit1KeyPress(QKeyEvent *e);  // Enter in either field runs 変更
    void Button1Click();               // OK

    QListWidget *ListBox1 = nullptr;
    QGroupBox *GroupBox1 = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *Edit2 = nullptr;
    QPushButton *SpeedButton1 = nullptr;
    QPushButton *SpeedButton2 = nullptr;
    QPushButton *SpeedButton3 = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;

protected:
    void showEvent(QShowEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString fieldsEntry() const;
    void select(int row);
    void save();

    LoadList m_load;
    SaveList m_save;
    QWidget *m_mainWindow = nullptr;
};

#include "app/texttabplaceholder.h"

#include "app/core/anchors.h"
#include "app/core/pagecontrols.h"

#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>

void PlaceholderEditor::contextMenuEvent(QContextMenuEvent *e)
{
    if (m_menu)
        m_menu->popup(e->globalPos());
}

namespace {
QLineEdit *makeDeltaEdit(QWidget *parent, const QString &name, int left, int top)
{
    QLineEdit *e = makeEdit(parent, name, left, top, 71, 22);
    e->setAlignment(Qt::AlignRight);
    e->setAttribute(Qt::WA_InputMethodEnabled, false);
    e->setFocusPolicy(Qt::ClickFocus);  // not a tab stop
    return e;
}
} // namespace

TextTabPlaceholder::TextTabPlaceholder(MainState &, QStatusBar *, QWidget *parent)
    : QWidget(parent)
{
    SpeedButton1 = makeButton(this, QStringLiteral("SpeedButton1"), QStringLiteral("TEXT"), 6, 2, 49, 22);
    SpeedButton2 = makeButton(this, QStringLiteral("SpeedButton2"), QStringLiteral("更新(Ctrl+Enter)"), 58, 2, 105, 22, false);
    SpeedButton6 = makeButton(this, QStringLiteral("SpeedButton6"), QStringLiteral("整列"), 163, 2, 44, 22, false);
    Label3 = makeLabel(this, QStringLiteral("Label3"), QStringLiteral("dX :"), 213, 5);
    Edit1 = makeDeltaEdit(this, QStringLiteral("Edit1"), 240, 2);
    SpeedButton8 = makeButton(this, QStringLiteral("SpeedButton8"), QStringLiteral("ATTR"), 6, 23, 49, 22);

    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setMaxVisibleItems(16);
    ComboBox1->setGeometry(58, 22, 126, 22);

    SpeedButton9 = makeButton(this, QStringLiteral("SpeedButton9"), QStringLiteral("..."), 184, 23, 23, 22);
    Label4 = makeLabel(this, QStringLiteral("Label4"), QStringLiteral("dY :"), 213, 25);
    Edit2 = makeDeltaEdit(this, QStringLiteral("Edit2"), 240, 23);
    Label1 = makeLabel(this, QStringLiteral("Label1"), QString(), 9, 51);
    Label2 = makeLabel(this, QStringLiteral("Label2"), QString(), 128, 50);
    SpeedButton7 = makeButton(this, QStringLiteral("SpeedButton7"), QStringLiteral("CAD"), 5, 70, 36, 22);
    CheckBox1 = makeCheckBox(this, QStringLiteral("CheckBox1"), QStringLiteral("座標順取得"), 50, 71, 83, 21, true);
    SpeedButton3 = makeButton(this, QStringLiteral("SpeedButton3"), QStringLiteral("すべて選択"), 139, 70, 74, 22);
    SpeedButton5 = makeButton(this, QStringLiteral("SpeedButton5"), QStringLiteral("中止"), 215, 71, 52, 22, false);
    SpeedButton4 = makeButton(this, QStringLiteral("SpeedButton4"), QStringLiteral("Undo"), 270, 71, 45, 22, false);

    editor = new PlaceholderEditor(this);
    editor->setObjectName(QStringLiteral("editor"));
    editor->setFont(pixelFont(QStringLiteral("ＭＳ ゴシック"), 15));
    editor->setLineWrapMode(QPlainTextEdit::NoWrap);
    editor->setGeometry(0, 98, 316, 174);
    anchorToParent(editor, Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge);

    connect(SpeedButton7, &QToolButton::clicked, this, &TextTabPlaceholder::targetCadRequested);
    connect(SpeedButton9, &QToolButton::clicked, this, &TextTabPlaceholder::tagListRequested);
}

#include "tools/gui/formkit.h"

#include "ui/fonts.h"
#include "ui/guard.h"

#include <QDialog>
#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>

#include <algorithm>

namespace formkit {

QFont tahoma(int pixels, bool bold)
{
    installFontSubstitutions();
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

QFont tahomaPoints(int points, bool bold)
{
    installFontSubstitutions();
    QFont f(QStringLiteral("Tahoma"));
    f.setPointSize(points);
    f.setBold(bold);
    return f;
}

QLabel *label(QWidget *parent, const char *name, const QString &text, int left, int top)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->move(left, top);
    l->adjustSize();
    return l;
}

QLineEdit *edit(QWidget *parent, const char *name, const QString &text, int left, int top, int width, int height)
{
    auto *e = new QLineEdit(text, parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setGeometry(left, top, width, height);
    return e;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption, int left, int top, int width, int height)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(left, top, width, height);
    b->setAutoDefault(false);
    return b;
}

QToolButton *radixButton(QWidget *parent, const char *name, const QString &caption, int left, int top)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(caption);
    b->setCheckable(true);
    b->setAutoRaise(false);
    b->setGeometry(left, top, 44, 22);
    return b;
}

void numberField(QLineEdit *e, Qt::Alignment alignment)
{
    e->setAlignment(alignment);
    e->setAttribute(Qt::WA_InputMethodEnabled, false);
    QFont f = e->font();
    f.setBold(true);
    e->setFont(f);
}

void centreOnScreen(QDialog *dialog)
{
    const QScreen *screen = dialog->screen() ? dialog->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = dialog->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    dialog->move(frame.topLeft());
}

UpDown::UpDown(QWidget *parent, QLineEdit *buddy, int minimum, int maximum, int position)
    : QWidget(parent)
    , m_buddy(buddy)
    , m_left(new QToolButton(this))
    , m_right(new QToolButton(this))
    , m_min(minimum)
    , m_max(maximum)
    , m_position(position)
{
    m_left->setObjectName(QStringLiteral("left"));
    m_right->setObjectName(QStringLiteral("right"));
    m_left->setArrowType(Qt::LeftArrow);
    m_right->setArrowType(Qt::RightArrow);
    m_left->setAutoRepeat(true);
    m_right->setAutoRepeat(true);
    m_left->setGeometry(0, 0, 16, 22);
    m_right->setGeometry(16, 0, 16, 22);
    resize(32, 22);
    guardedConnect(m_left, &QToolButton::clicked, this, [this] { step(-1); });
    guardedConnect(m_right, &QToolButton::clicked, this, [this] { step(1); });
    setPosition(position);
}

int UpDown::position() const
{
    bool ok = false;
    const int typed = m_buddy->text().trimmed().toInt(&ok);
    return ok && typed >= m_min && typed <= m_max ? typed : m_position;
}

void UpDown::setPosition(int position)
{
    m_position = std::clamp(position, m_min, m_max);
    m_buddy->setText(QString::number(m_position));
}

void UpDown::step(int by)
{
    setPosition(position() + by);
}

}  // namespace formkit

#include "ui/pagecontrols.h"

#include "ui/anchors.h"
#include "ui/captionfit.h"

#include <QCheckBox>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QWidget>

#include <algorithm>

QToolButton *makeButton(QWidget *parent, const QString &name, const QString &caption, int left, int top, int width,
                        int height, bool enabled)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(caption);
    b->setGeometry(left, top, width, height);
    b->setEnabled(enabled);
    growToCaption(b);
    // Speed buttons never take the focus from the editor or the grid.
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text, int left, int top)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    // Delphi-style auto size without a resize on every text change: the
    // label reaches to the page's right edge and lets clicks through to
    // whatever it overlaps.
    l->adjustSize();
    l->setGeometry(left, top, std::max(l->width(), kPageDesignWidth - left), l->height());
    l->setAttribute(Qt::WA_TransparentForMouseEvents);
    return l;
}

QCheckBox *makeCheckBox(QWidget *parent, const QString &name, const QString &caption, int left, int top, int width,
                        int height, bool checked)
{
    auto *c = new QCheckBox(caption, parent);
    c->setObjectName(name);
    c->setGeometry(left, top, width, height);
    c->setChecked(checked);
    growToCaption(c);
    return c;
}

QLineEdit *makeEdit(QWidget *parent, const QString &name, int left, int top, int width, int height)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setGeometry(left, top, width, height);
    return e;
}

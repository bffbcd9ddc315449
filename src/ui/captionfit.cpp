#include "ui/captionfit.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QWidget>

namespace {

bool hasCaption(const QWidget *w)
{
    return qobject_cast<const QAbstractButton *>(w) || qobject_cast<const QLabel *>(w)
           || qobject_cast<const QComboBox *>(w);
}

}  // namespace

int captionWidth(const QWidget *w)
{
    if (auto *p = qobject_cast<const QPushButton *>(w)) {
        // Not sizeHint(): styles give push buttons a minimum width that
        // has nothing to do with the caption.
        if (p->text().isEmpty())
            return 0;
        const int margin = p->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, p);
        const int frame = p->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, p);
        return p->fontMetrics().horizontalAdvance(p->text()) + margin + 2 * frame;
    }
    if (auto *b = qobject_cast<const QAbstractButton *>(w))
        return b->text().isEmpty() ? 0 : b->sizeHint().width();
    if (auto *l = qobject_cast<const QLabel *>(w)) {
        if (l->wordWrap() || l->text().isEmpty())
            return 0;
        return l->sizeHint().width();
    }
    if (auto *c = qobject_cast<const QComboBox *>(w)) {
        if (c->currentText().isEmpty())
            return 0;
        QStyleOptionComboBox opt;
        opt.initFrom(c);
        opt.editable = c->isEditable();
        opt.currentText = c->currentText();
        const QFontMetrics fm = c->fontMetrics();
        // The text box of an editable combo keeps a few pixels of margin.
        const QSize text(fm.horizontalAdvance(c->currentText()) + 4, fm.height());
        return c->style()->sizeFromContents(QStyle::CT_ComboBox, &opt, text, c).width();
    }
    return 0;
}

void growToCaption(QWidget *w)
{
    const int need = captionWidth(w);
    if (need > w->width())
        w->resize(need, w->height());
}

void fitCaptions(QWidget *root)
{
    for (QWidget *w : root->findChildren<QWidget *>())
        if (hasCaption(w))
            growToCaption(w);
}

void fitComboFont(QComboBox *combo, int designPixels)
{
    auto fit = [combo, designPixels] {
        // Below this size Japanese text is no longer readable; cut instead.
        constexpr int kSmallest = 8;
        QFont f = combo->font();
        for (int px = designPixels; px >= kSmallest; --px) {
            f.setPixelSize(px);
            combo->setFont(f);
            if (captionWidth(combo) <= combo->width())
                break;
        }
    };
    QObject::connect(combo, &QComboBox::currentTextChanged, combo, fit);
    fit();
}

QStringList clippedCaptions(const QWidget *root)
{
    QStringList out;
    for (const QWidget *w : root->findChildren<QWidget *>()) {
        if (hasCaption(w) && captionWidth(w) > w->width())
            out << (w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName());
    }
    return out;
}

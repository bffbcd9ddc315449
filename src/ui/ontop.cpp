#include "ui/ontop.h"

#include <QDialog>
#include <QWidget>
#include <QWindow>

void setStaysOnTop(QWidget *window, bool on)
{
    if (!window)
        return;
    // QWidget::setWindowFlag would hide and re-create a shown window; the
    // QWindow flag changes the native window in place (SetWindowPos on
    // Windows).
    if (QWindow *w = window->windowHandle())
        w->setFlag(Qt::WindowStaysOnTopHint, on);
    else
        window->setWindowFlag(Qt::WindowStaysOnTopHint, on);
}

bool staysOnTop(const QWidget *window)
{
    if (const QWindow *w = window->windowHandle())
        return w->flags().testFlag(Qt::WindowStaysOnTopHint);
    return window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

int execOnTop(QDialog *dialog, QWidget *mainWindow)
{
    setStaysOnTop(mainWindow, false);
    setStaysOnTop(dialog, true);
    struct Revert {
        QDialog *dialog;
        QWidget *mainWindow;
        ~Revert()
        {
            setStaysOnTop(dialog, false);
            setStaysOnTop(mainWindow, true);
        }
    } revert{dialog, mainWindow};
    return dialog->exec();
}

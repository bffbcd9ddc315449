#pragma once

#include <QApplication>

#include <stdexcept>

// The application object with the default error report installed once for
// every handler: an exception escaping an event handler is shown in a
// message box and the program goes on.
class TalvoApplication : public QApplication {
    Q_OBJECT
public:
    TalvoApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

// Runs `f` under the default error report; for code not reached through
// notify() (timers fired from nested loops in tests, direct calls).
template <class F>
void guarded(F &&f);

#include "app/core/messages.h"

template <class F>
void guarded(F &&f)
{
    try {
        f();
    } catch (const std::exception &e) {
        ShowErrorReport(e);
    }
}

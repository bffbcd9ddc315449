#pragma once

#include <QApplication>

// The application object. Every handler runs under guarded() (ui/guard.h);
// notify() is the last resort for an exception that escapes an event
// handler all the same: it shows the default error report and goes on.
class TalvoApplication : public QApplication {
    Q_OBJECT
public:
    TalvoApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

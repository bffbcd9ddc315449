#include "ui/talvoapplication.h"

#include "ui/messages.h"

TalvoApplication::TalvoApplication(int &argc, char **argv) : QApplication(argc, argv)
{}

bool TalvoApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        ShowErrorReport(e);
    } catch (...) {
        ShowErrorReport(std::runtime_error("Unknown error"));
    }
    return false;
}

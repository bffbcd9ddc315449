#include "ui/messages.h"

#include "ui/qstr.h"
#include "base/usererror.h"

#include <QApplication>
#include <QMessageBox>

namespace {
MessageSink g_sink = nullptr;

void show(QMessageBox::Icon icon, const QString &caption, const QString &text, QWidget *parent)
{
    if (g_sink) {
        g_sink(caption, text);
        return;
    }
    QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}
}  // namespace

MessageSink setMessageSink(MessageSink sink)
{
    MessageSink old = g_sink;
    g_sink = sink;
    return old;
}

void ShowMessage(const QString &text, QWidget *parent)
{
    show(QMessageBox::NoIcon, QStringLiteral("TalvoEditZ"), text, parent);
}

void ShowInformation(const QString &text, QWidget *parent)
{
    show(QMessageBox::Information, QStringLiteral("情報"), text, parent);
}

void ShowErrorReport(const std::exception &e)
{
    QString text;
    if (auto *ue = dynamic_cast<const base::UserError *>(&e))
        text = toQ(ue->text());
    else
        text = QString::fromUtf8(e.what());
    show(QMessageBox::Critical, QStringLiteral("TalvoEditZ"), text, nullptr);
}

void PumpMessages()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

#pragma once

#include <QString>

#include <exception>

class QWidget;

// Plain message box: caption "TalvoEditZ", one OK button.
void ShowMessage(const QString &text, QWidget *parent = nullptr);
// Information box: caption "情報", one OK button.
void ShowInformation(const QString &text, QWidget *parent = nullptr);
// The default error report: the error's own text and one OK button.
void ShowErrorReport(const std::exception &e);

// Lets pending window messages run, as long loops do after each item.
void PumpMessages();

// Hook for tests: when set, message boxes are not shown but passed here
// (caption, text). Returns the previous hook.
using MessageSink = void (*)(const QString &caption, const QString &text);
MessageSink setMessageSink(MessageSink sink);

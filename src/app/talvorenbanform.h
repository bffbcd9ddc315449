#pragma once

#include <QDialog>

// Created hidden at start and kept for the whole run; its controls and
// commands arrive with the command that opens it.
class TTalvoRenbanForm : public QDialog {
    Q_OBJECT
public:
    explicit TTalvoRenbanForm(QWidget *parent = nullptr)
        : QDialog(parent)
    {
        setObjectName(QStringLiteral("TalvoRenbanForm"));
    }
};

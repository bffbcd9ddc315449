#pragma once

#include <QDialog>

// Created hidden at start and kept for the whole run; its controls and
// commands arrive with the command that opens it.
class TTalvoKasanForm : public QDialog {
    Q_OBJECT
public:
    explicit TTalvoKasanForm(QWidget *parent = nullptr)
        : QDialog(parent)
    {
        setObjectName(QStringLiteral("TalvoKasanForm"));
    }
};

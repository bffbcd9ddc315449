#pragma once

class QDialog;
class QWidget;

// Shows `dialog` modally while it holds the stay-on-top state the main
// window gives up; both revert when it closes. Returns the modal result.
int execOnTop(QDialog *dialog, QWidget *mainWindow);

// Turns the stay-on-top state of a top-level window on or off without
// moving, resizing or hiding it.
void setStaysOnTop(QWidget *window, bool on);
bool staysOnTop(const QWidget *window);

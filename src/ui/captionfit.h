#pragma once

#include <QStringList>

class QWidget;

// The forms give positions and sizes for the Windows UI font; where the
// font in use is wider, a control grows to its caption (left edge kept)
// instead of cutting it.

// Width `w` needs to show its caption whole; 0 for controls without one.
int captionWidth(const QWidget *w);
// Grows `w` when its caption is wider than it is.
void growToCaption(QWidget *w);
// growToCaption() for every button, check box, label and combo under root.
void fitCaptions(QWidget *root);
// Object names of the controls under root whose caption is cut.
QStringList clippedCaptions(const QWidget *root);

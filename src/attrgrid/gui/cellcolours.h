#pragma once

#include <QColor>

// The grids' cell colours, in one place.
namespace cellcolours {
// A data cell without an attribute (nothing to edit or write).
inline QColor unusable() { return QColor(192, 192, 192); }
// The text of a cell that differs from its record.
inline QColor changedText() { return QColor(255, 0, 0); }
} // namespace cellcolours

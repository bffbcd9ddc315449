#pragma once

#include <QColor>

// The marking colours of the editor and both grids, in one place.
namespace cellcolors {
// Text of a changed cell or row; also dX/dY when both are 0.
inline const QColor changed{255, 0, 0};
// Grid cells without an attribute and rows on locked layers.
inline const QColor locked{192, 192, 192};
// Editor lines beyond the fetched records: after a TEXT fetch ...
inline const QColor beyondTexts{221, 255, 253};
// ... and after an ATTR fetch.
inline const QColor beyondAttributes{255, 255, 0};
}  // namespace cellcolors

#pragma once

#include <Qt>

class QWidget;

// Size of a tab page's client area at 100 % scaling: the control positions
// of the pages are given against it.
inline constexpr int kPageDesignWidth = 316;
inline constexpr int kPageDesignHeight = 272;

// Keeps `w` at its current margins to the edges named in `edges` while its
// parent resizes: both of left/right (top/bottom) stretch it, one of them
// moves it. Set the design geometry first.
void anchorToParent(QWidget *w, Qt::Edges edges, int designWidth = kPageDesignWidth,
                    int designHeight = kPageDesignHeight);

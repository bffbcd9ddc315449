#pragma once

namespace cadhost {

class Drawing;

// A small drawing to start with: a few layers (one locked), texts in
// several alignments, a title block definition with prompted attributes
// and some references of it.
void buildSampleDrawing(Drawing &drawing);

} // namespace cadhost

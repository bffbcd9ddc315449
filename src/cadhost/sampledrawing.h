#pragma once

namespace cadhost {

class Drawing;

// The drawing the built-in host opens with: a small control-panel
// schematic (A3, 420 × 297) with a column of wire numbers, equipment names
// and comments as TEXT, right-aligned and centred texts, a locked layer,
// and block references whose prompted attributes carry the tags the
// program's built-in tag list and tag sets name: the PLC inputs' set, the
// equipment set "機器", the 図枠IFS title block and SENBAN (wire-number
// marks).
void buildSampleDrawing(Drawing &drawing);

}  // namespace cadhost

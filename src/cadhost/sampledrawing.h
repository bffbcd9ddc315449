#pragma once

namespace cadhost {

class Drawing;

// The drawing the built-in host opens with: a small control-panel
// schematic (A3, 420 × 297) with a column of wire numbers, equipment names
// and comments as TEXT, right-aligned and centred texts, a locked layer,
// and block references whose prompted attributes carry the tags the
// program's built-in tag list and tag sets name: PIN1, IOADRS, JCMNT1,
// JCMNT2 (PLC inputs); NAME, NAME1, SPEC, TYPE (equipment); the 図枠IFS
// title block; SENBAN (wire-number marks).
void buildSampleDrawing(Drawing &drawing);

}  // namespace cadhost

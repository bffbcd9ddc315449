#pragma once

#include "cad/variant.h"

#include <cstdint>
#include <string>
#include <vector>

namespace cadhost {

// The CAD's ObjectId: a 64-bit number, unique in the drawing and never
// reused, also after an erase. 0 is "none".
using EntityId = std::int64_t;

// Circles, arcs and polylines come from opened drawings and are only shown.
enum class EntityKind { Text, Insert, Attribute, AttributeDefinition, Line, Circle, Arc, Polyline };

// AcAlignment codes as the CAD's automation model reports them.
enum Alignment : int {
    AlignLeft = 0,
    AlignCenter = 1,
    AlignRight = 2,
    AlignAligned = 3,
    AlignMiddle = 4,
    AlignFit = 5,
    AlignTopLeft = 6,
    AlignTopCenter = 7,
    AlignTopRight = 8,
    AlignMiddleLeft = 9,
    AlignMiddleCenter = 10,
    AlignMiddleRight = 11,
    AlignBottomLeft = 12,
    AlignBottomCenter = 13,
    AlignBottomRight = 14,
};

// One entity of the drawing: in model space, in a block definition, or
// (for an attribute) owned by its block reference. A plain value so that
// undo can keep snapshots of it.
struct Entity {
    EntityId id = 0;
    std::u16string handle;  // upper-case hex, unique
    EntityKind kind = EntityKind::Line;
    EntityId owner = 0;  // block (model space or definition); an attribute's block reference
    std::u16string layer = u"0";

    std::u16string text;        // TEXT, ATTRIB: the string; ATTDEF: the default value
    std::u16string tag;         // ATTRIB, ATTDEF
    std::u16string prompt;      // ATTDEF
    cad::Point insertionPoint;  // LINE: start point
    cad::Point alignmentPoint;  // TextAlignmentPoint of TEXT, ATTRIB, ATTDEF
    cad::Point endPoint;        // LINE
    int alignment = AlignLeft;
    double height = 2.5;
    double rotation = 0;  // radians

    std::u16string blockName;          // INSERT
    double scale = 1;                  // INSERT, uniform
    std::vector<EntityId> attributes;  // INSERT, in order

    std::vector<cad::Point> path;  // CIRCLE, ARC, LWPOLYLINE: the outline as line segments
    EntityId source = 0;           // what Copy made this from (0: read or built)

    bool operator==(const Entity &) const = default;
};

// "AcDbText", "AcDbBlockReference", "AcDbAttribute",
// "AcDbAttributeDefinition", "AcDbLine", ...: what EntityName reports.
const char16_t *entityName(EntityKind kind);
// The DXF type name group code 0 filters by: "TEXT", "INSERT", ...
const char16_t *dxfName(EntityKind kind);

}  // namespace cadhost

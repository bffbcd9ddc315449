#include "cadhost/entity.h"

namespace cadhost {

const char16_t *entityName(EntityKind kind)
{
    switch (kind) {
    case EntityKind::Text: return u"AcDbText";
    case EntityKind::Insert: return u"AcDbBlockReference";
    case EntityKind::Attribute: return u"AcDbAttribute";
    case EntityKind::AttributeDefinition: return u"AcDbAttributeDefinition";
    case EntityKind::Line: return u"AcDbLine";
    case EntityKind::Circle: return u"AcDbCircle";
    case EntityKind::Arc: return u"AcDbArc";
    case EntityKind::Polyline: return u"AcDbPolyline";
    }
    return u"";
}

const char16_t *dxfName(EntityKind kind)
{
    switch (kind) {
    case EntityKind::Text: return u"TEXT";
    case EntityKind::Insert: return u"INSERT";
    case EntityKind::Attribute: return u"ATTRIB";
    case EntityKind::AttributeDefinition: return u"ATTDEF";
    case EntityKind::Line: return u"LINE";
    case EntityKind::Circle: return u"CIRCLE";
    case EntityKind::Arc: return u"ARC";
    case EntityKind::Polyline: return u"LWPOLYLINE";
    }
    return u"";
}

}  // namespace cadhost

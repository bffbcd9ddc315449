#pragma once

#include "cad/object.h"
#include "cad/windowapi.h"

#include <string>

// "参照" of the tag list dialog: the tag and prompt of an attribute the
// user picks in the drawing.
struct TagFields {
    std::u16string tag;
    std::u16string prompt;
};

// Lets the user pick one entity (Utility.GetSubEntity). For an attribute
// the tag becomes its TagString and the prompt empty, then the prompt of
// the same tag's attribute definition in the block of its owner, when the
// block has one. Writes as it goes, so after an error the fields hold what
// was set before it; any other entity changes nothing. Errors propagate.
void ReferenceAttributeTag(const cad::Object &doc, TagFields &fields);

// The whole command: nothing when the CAD does not run; otherwise attach,
// bring the CAD forward (restore, foreground, Escape; our windows stay),
// pick with every pick and CAD error swallowed, then hand the foreground
// back to `dialog` after one more Escape to the CAD.
void ReferenceTag(TagFields &fields, cad::WindowHandle dialog);

#pragma once

#include "cadhost/entity.h"

#include "cad/windowapi.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace cadhost {

struct Layer {
    EntityId id = 0;
    std::u16string handle;
    std::u16string name;
    int colour = 7;  // ACI colour index
    bool locked = false;
};

// A block table record: "*Model_Space", "*Paper_Space" or a block
// definition. Its entities are the drawing's entities owned by `id`.
struct Block {
    EntityId id = 0;
    std::u16string handle;
    std::u16string name;
};

// What the drawing window shows, in drawing units and pixels.
struct View {
    cad::Point centre;
    double height = 100;    // VIEWSIZE
    int screenWidth = 800;  // SCREENSIZE, until a window reports its own
    int screenHeight = 600;
    cad::WindowHandle window = 0;  // the document's HWND; 0 until a window sets it
};

// What changed, for the drawing window to repaint.
enum class DrawingEvent { Entities, Layers, View, Regen, Redraw, SelectionSets };

// --- Builders (the test API and the sample drawing) -----------------------

struct TextSpec {
    std::u16string text{};
    cad::Point insertionPoint{};
    int alignment = AlignLeft;
    // TextAlignmentPoint; defaults to the insertion point.
    std::optional<cad::Point> alignmentPoint{};
    double height = 2.5;
    std::u16string layer = u"0";
    double rotation = 0;
};

struct LineSpec {
    cad::Point start{}, end{};
    std::u16string layer = u"0";
};

struct AttributeDefinitionSpec {
    std::u16string tag{};
    std::u16string prompt{};
    std::u16string defaultValue{};
    cad::Point point{};  // relative to the block's base point
    double height = 2.5;
    int alignment = AlignLeft;
    std::optional<cad::Point> alignmentPoint{};  // relative; defaults to `point`
};

struct BlockSpec {
    std::u16string name{};
    std::vector<LineSpec> lines{};  // geometry, before the attribute definitions
    std::vector<AttributeDefinitionSpec> attributes{};
};

struct InsertSpec {
    std::u16string block{};
    cad::Point insertionPoint{};
    double scale = 1;
    double rotation = 0;
    std::u16string layer = u"0";
    // Attribute values by tag. Each attribute definition of the block takes
    // the first unused value of its tag, else its default; values whose tag
    // has no definition become extra attributes at the insertion point.
    std::vector<std::pair<std::u16string, std::u16string>> attributes{};
};

}  // namespace cadhost

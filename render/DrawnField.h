#pragma once
// Where the page layout drew each form field: the layout tells an observer
// about every field it draws, as it draws it, so that an export can lay
// interactive fields exactly over the drawn boxes without a layout of its own.

#include "Canvas.h"

#include <QString>
#include <cstdint>

struct DrawnField {
    int page = 1;            // from 1
    int category = 0;        // index in the document
    std::uint32_t field = 0; // index in the category's field array
    std::int32_t kind = 0;   // FieldKind: fkText, fkCheckBox or fkSingleChoice
    QString label;           // the field's name as stored (may hold CR LF)
    QString categoryName;    // the category's name as stored
    CanvasRect box;          // the box, square or circle's bounding box, device pixels
    int labelLines = 0;      // lines of the label drawn (from the box's top for text fields)
    int lineHeight = 0;      // line height of the label font, device pixels
    int fontPoints = 0;      // size of the label font as selected
};

// Where the layout drew a category's heading: the band across the page that
// holds its name (and a picture beside the name), device pixels.
struct DrawnHeading {
    int page = 1;     // from 1
    int category = 0; // index in the document
    CanvasRect band;
};

// Receives every field the layout draws, in drawing order (array order within
// a category, categories in document order when every page is drawn).
class FieldObserver {
  public:
    virtual ~FieldObserver() = default;
    virtual void FieldDrawn(const DrawnField& field) = 0;
    // Every category heading drawn, before its fields; most observers pass it over.
    virtual void HeadingDrawn(const DrawnHeading&) {}
};

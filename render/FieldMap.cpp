#include "FieldMap.h"

void FieldMap::FieldDrawn(const DrawnField& field) {
    fields.push_back(field);
}

std::vector<const DrawnField*> FieldMap::OnPage(int page) const {
    std::vector<const DrawnField*> onPage;
    for (const DrawnField& field : fields)
        if (field.page == page) onPage.push_back(&field);
    return onPage;
}

const DrawnField* FieldMap::At(int page, int x, int y) const {
    for (auto it = fields.rbegin(); it != fields.rend(); ++it) {
        const CanvasRect& box = it->box;
        if (it->page == page && x >= box.left && x < box.right && y >= box.top && y < box.bottom)
            return &*it;
    }
    return nullptr;
}

const DrawnField* FieldMap::Find(int category, std::uint32_t f) const {
    for (const DrawnField& field : fields)
        if (field.category == category && field.field == f) return &field;
    return nullptr;
}

void FieldMap::HeadingDrawn(const DrawnHeading& heading) {
    headings.push_back(heading);
}

const DrawnHeading* FieldMap::HeadingAt(int page, int x, int y) const {
    for (const DrawnHeading& heading : headings) {
        const CanvasRect& band = heading.band;
        if (heading.page == page && x >= band.left && x < band.right && y >= band.top &&
            y < band.bottom)
            return &heading;
    }
    return nullptr;
}

const DrawnHeading* FieldMap::FindHeading(int category) const {
    for (const DrawnHeading& heading : headings)
        if (heading.category == category) return &heading;
    return nullptr;
}

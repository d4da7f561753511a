#pragma once
// Where every form field landed: page, category, field, kind and box, filled
// by the one layout pass as it draws (it is that pass's field observer). The
// fillable PDF lays its form fields over these boxes; readers of returned
// forms and the page views look fields up in it instead of laying pages out again.

#include "DrawnField.h"

#include <cstdint>
#include <vector>

class FieldMap : public FieldObserver {
  public:
    void FieldDrawn(const DrawnField& field) override;
    void HeadingDrawn(const DrawnHeading& heading) override;

    // Every field, in drawing order (pages in order when the pages were drawn in order).
    const std::vector<DrawnField>& Fields() const { return fields; }
    bool IsEmpty() const { return fields.empty(); }
    void Clear() {
        fields.clear();
        headings.clear();
    }

    // The fields drawn on page (from 1), in drawing order.
    std::vector<const DrawnField*> OnPage(int page) const;
    // The field whose box holds the point (x, y) of page, in the pixels the
    // boxes were drawn in; the last drawn wins where boxes overlap. Null for none.
    const DrawnField* At(int page, int x, int y) const;
    // Where field f of category landed; null when it was not drawn.
    const DrawnField* Find(int category, std::uint32_t f) const;

    // Category headings, in drawing order.
    const std::vector<DrawnHeading>& Headings() const { return headings; }
    // The category heading whose band holds the point (x, y) of page; null for none.
    const DrawnHeading* HeadingAt(int page, int x, int y) const;
    // Where the heading of category landed; null when it was not drawn.
    const DrawnHeading* FindHeading(int category) const;

  private:
    std::vector<DrawnField> fields;
    std::vector<DrawnHeading> headings;
};

#include "PageStartIndex.h"

#include "FormDocument.h"
#include "OwnedText.h"

#include <algorithm>

const PageStart* PageLayout::NearestStart(int page, int* startPage) const {
    const int known = std::min(page, KnownPages());
    if (known < 2) return nullptr;
    if (startPage) *startPage = known;
    return &starts[static_cast<std::size_t>(known - 2)];
}

void PageLayout::Record(int page, const PageStart& start) {
    if (page == KnownPages() + 1) starts.push_back(start);
}

namespace {
// Document order of places: a category's band comes before its fields.
bool Before(const PageStart& start, int category, int field) {
    return start.category < category || (start.category == category && start.field < field);
}
} // namespace

int PageLayout::PageOf(int category, int field) const {
    // starts are in document order: the pages before the first one beginning after the place.
    const auto after = std::find_if(starts.begin(), starts.end(), [&](const PageStart& start) {
        return !Before(start, category, field) &&
               !(start.category == category && start.field == field);
    });
    return static_cast<int>(after - starts.begin()) + 1;
}

void PageLayout::ForgetFrom(int category, int field) {
    const auto from = std::find_if(starts.begin(), starts.end(), [&](const PageStart& start) {
        return !Before(start, category, field);
    });
    starts.erase(from, starts.end());
    lastPage = 0;
}

void PageStartIndex::InvalidateFrom(int category, int field) {
    for (PageLayout& layout : layouts)
        layout.ForgetFrom(category, field);
}

PageStartIndex::PageStartIndex(int capacity) : capacity(std::max(1, capacity)) {}

void PageStartIndex::Invalidate() {
    layouts.clear();
    pictureFiles.clear();
}

void PageStartIndex::FollowPictureFiles(const FormDocument& document) {
    bool changed = false;
    for (int i = 0; i < document.CategoryCount(); ++i) {
        const CategoryRecord* record = document.Record(i);
        if (!record) continue;
        const QString path = ToQString(record->picfile);
        if (path.isEmpty()) continue;
        const PictureFileStamp stamp = StampOfPictureFile(path);
        auto it = pictureFiles.find(path);
        if (it == pictureFiles.end()) {
            pictureFiles.insert(path, stamp);
            changed = true;
        } else if (*it != stamp) {
            *it = stamp;
            changed = true;
        }
    }
    if (changed) layouts.clear();
}

PageLayout& PageStartIndex::LayoutFor(const PageLayoutKey& key) {
    const auto found = std::find_if(layouts.begin(), layouts.end(),
                                    [&](const PageLayout& l) { return l.Key() == key; });
    if (found != layouts.end()) {
        layouts.splice(layouts.begin(), layouts, found);
        return layouts.front();
    }
    if (static_cast<int>(layouts.size()) >= capacity) layouts.pop_back();
    layouts.emplace_front(key);
    return layouts.front();
}

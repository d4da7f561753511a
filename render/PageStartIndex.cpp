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

#include "PageStartIndex.h"

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

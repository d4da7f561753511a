#include "CategoryPictureCache.h"

#include "DibFile.h"

#include <QFileInfo>
#include <algorithm>

void ReadPictureFile(dib& rec, const QString& path) {
    rec = dib{};
    if (path.isEmpty()) return;
    OpenDibFile(rec, path);
}

PictureFileStamp StampOfPictureFile(const QString& path) {
    PictureFileStamp stamp;
    if (path.isEmpty()) return stamp;
    const QFileInfo info(ResolvePicturePath(path));
    if (!info.isFile()) return stamp;
    stamp.found = true;
    stamp.size = info.size();
    stamp.modified = info.lastModified();
    stamp.statusChanged = info.metadataChangeTime();
    return stamp;
}

CategoryPictureCache::CategoryPictureCache(int capacity) : capacity(std::max(1, capacity)) {}

CategoryPictureCache::~CategoryPictureCache() {
    Clear();
}

void CategoryPictureCache::Clear() {
    for (Entry& e : entries)
        FreeDib(e.picture);
    entries.clear();
    FreeDib(uncached);
}

const dib& CategoryPictureCache::Picture(const QString& path) {
    FreeDib(uncached);
    const PictureFileStamp stamp = StampOfPictureFile(path);
    if (!stamp.found) {
        // Not kept: a file that appears later must be seen at once.
        ++filesRead;
        ReadPictureFile(uncached, path);
        return uncached;
    }
    auto it = std::find_if(entries.begin(), entries.end(),
                           [&](const Entry& e) { return e.path == path; });
    if (it != entries.end()) {
        if (it->stamp == stamp) {
            entries.splice(entries.begin(), entries, it);
            return entries.front().picture;
        }
        FreeDib(it->picture);
        entries.erase(it);
    }
    while (static_cast<int>(entries.size()) >= capacity) {
        FreeDib(entries.back().picture);
        entries.pop_back();
    }
    Entry entry;
    entry.path = path;
    entry.stamp = stamp;
    ++filesRead;
    ReadPictureFile(entry.picture, path);
    entries.push_front(std::move(entry));
    return entries.front().picture;
}

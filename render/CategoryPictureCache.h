#pragma once
// Decoded category pictures kept across layout passes, so that printing n
// pages does not decode every picture n times. An entry is used again only
// while its file has the same path and stamp (below); otherwise the file is
// read afresh. Files that cannot be found are never kept.

#include "Dib.h"

#include <QDateTime>
#include <QString>
#include <list>

// Reads a picture file into rec (left empty when the file cannot be read).
void ReadPictureFile(dib& rec, const QString& path);

// What tells one version of a picture file from another: whether it is there,
// its size, its modification time and when it was last replaced or renamed. A kept picture, and page breaks worked
// out with it, hold only while the file's stamp stays the same.
struct PictureFileStamp {
    bool found = false;
    qint64 size = -1;
    QDateTime modified;
    QDateTime statusChanged;

    bool operator==(const PictureFileStamp&) const = default;
};
PictureFileStamp StampOfPictureFile(const QString& path);

class CategoryPictureCache {
  public:
    explicit CategoryPictureCache(int capacity = 16);
    ~CategoryPictureCache();
    CategoryPictureCache(const CategoryPictureCache&) = delete;
    CategoryPictureCache& operator=(const CategoryPictureCache&) = delete;

    // The picture of path; an empty record when it cannot be read. The record
    // stays valid until the next call of Picture or Clear.
    const dib& Picture(const QString& path);
    // Releases every kept picture.
    void Clear();

    // How many files were read so far (for tests and measurements).
    int FilesRead() const { return filesRead; }

  private:
    struct Entry {
        QString path;
        PictureFileStamp stamp;
        dib picture{};
    };
    std::list<Entry> entries; // most recently used first
    int capacity;
    int filesRead = 0;
    dib uncached{};
};

#pragma once
// Reading picture files into records, with Qt strings, and the picture filter.

#include "Dib.h"

#include <QString>

class QIODevice;

// Reads the picture at path into rec (rec is overwritten, not released first).
// A relative name that does not exist in the current directory is also looked
// for in programDir (the program's own directory when programDir is empty).
// Returns false, with rec empty, when nothing could be read.
bool OpenDibFile(dib& rec, const QString& path, const QString& programDir = QString());

// Reads a picture from an open device (BMP by hand, the rest through Qt's
// readers) into rec; false, with rec empty, when nothing could be read.
bool ReadDib(dib& rec, QIODevice& device);
// The file a picture name stands for: the name itself when it exists (or is
// absolute, or empty), else the same relative name inside programDir when it
// exists there, else the name unchanged.
QString ResolvePicturePath(const QString& name, const QString& programDir = QString());

// "Description|*.a;*.b|..." pairs of every picture type that can be read.
QString PictureOpenFilter();

// Turns "Description|*.a;*.b|..." pairs into a file dialog filter
// ("Description (*.a *.b);;..."). A description that already ends in its
// patterns in brackets keeps them once.
QString PipeFilterToQt(const QString& pipeFilter);

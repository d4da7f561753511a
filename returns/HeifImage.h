#pragma once
// Phone photos in HEIF/HEIC (the format many phones store), decoded through
// libheif: no Qt image plugin of the platform reads them. The primary image
// only, turned and mirrored as the file says, within the same pixel limits
// as every other scan.

#include "ReturnedPdf.h"

#include <QByteArray>
#include <QImage>

// Whether bytes (the file's start will do) are a HEIF file libheif reads.
bool IsHeif(const QByteArray& bytes);
// The file's primary image; a null image with the reason when it cannot be
// read or is larger than a scan may be.
QImage DecodeHeif(const QByteArray& bytes, ReturnRejection* why);

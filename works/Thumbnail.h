#pragma once
// The PNG picture of a work: the spectrum drawn at the size typed in the
// window and saved beside the work's data copy.

#include <QImage>
#include <QSize>
#include <QString>

namespace korvane {

class DataSet;

// The picture size from the two texts of the window; a value below 1 (or not
// a number) becomes 1024.
QSize thumbnailSize(const QString &widthText, const QString &heightText);
// The largest picture drawn, 8192 x 8192 pixels (256 MiB in memory).
constexpr qint64 maxThumbnailPixels = qint64(1) << 26;
// Whether size is within maxThumbnailPixels, with no side beyond 32767.
bool thumbnailSizeAllowed(const QSize &size);
// Draws the data set's spectrum at size and saves it as PNG at path. False
// (and why) when the image is larger than maxThumbnailPixels (or a side
// beyond 32767), cannot be allocated or cannot be saved.
bool makeThumbnailImage(const QString &path, const QSize &size, const DataSet &dataSet,
                        QString *why = nullptr);

// The spectrum drawn at size; a null image when the size is not allowed or
// the image cannot be allocated.
QImage drawThumbnail(const QSize &size, const DataSet &dataSet);
// The same picture as an 8-bit indexed image whose colour table holds exactly
// its colours, in the order they first appear; a null image when image is not
// RGB32 or has more than 256 colours.
QImage exactIndexed(const QImage &image);
// Saves image in the format of path's suffix, whole or not at all: a failed
// save leaves the file that was at path. A PNG is saved indexed when
// exactIndexed allows it: the same decoded pixels in fewer bytes, encoded
// faster.
bool savePicture(const QImage &image, const QString &path, QString *why = nullptr);

} // namespace korvane

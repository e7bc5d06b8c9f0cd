#pragma once
// The PNG picture of a work: the spectrum drawn at the size typed in the
// window and saved beside the work's data copy.

#include <QSize>
#include <QString>

class DataSet;

// The picture size from the two texts of the window; a value below 1 (or not
// a number) becomes 1024.
QSize thumbnailSize(const QString &widthText, const QString &heightText);
// Draws the data set's spectrum at size and saves it as PNG at path. False
// (and why) when the image cannot be allocated or saved.
bool makeThumbnailImage(const QString &path, const QSize &size, const DataSet &dataSet,
                        QString *why = nullptr);

#include "works/Thumbnail.h"

#include "data/DataSet.h"

#include <QDebug>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QVector>

#include <algorithm>

namespace {

int sideFromText(const QString &text)
{
    // toInt gives 0 for a text that is not a number, which falls below 1 too.
    const int side = text.toInt(nullptr, 10);
    return side < 1 ? 1024 : side;
}

} // namespace

QSize thumbnailSize(const QString &widthText, const QString &heightText)
{
    return QSize(sideFromText(widthText), sideFromText(heightText));
}

bool thumbnailSizeAllowed(const QSize &size)
{
    return qint64(size.width()) * size.height() <= maxThumbnailPixels && size.width() <= 32767 &&
           size.height() <= 32767;
}

QImage drawThumbnail(const QSize &size, const DataSet &dataSet)
{
    // A size typed with a few zeros too many must not make the pass allocate
    // and paint gigabytes: Qt would try, and overcommit lets it, until memory
    // runs out in the middle of the drawing.
    if (!thumbnailSizeAllowed(size))
        return QImage();
    // The drawing fills every pixel, so the image needs no clearing.
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    QPainter painter(&image);
    dataSet.drawSpectrum(&painter);
    painter.end();
    return image;
}

QImage exactIndexed(const QImage &image)
{
    if (image.format() != QImage::Format_RGB32)
        return QImage();
    QImage indexed(image.size(), QImage::Format_Indexed8);
    if (indexed.isNull())
        return indexed;
    // An open-addressed table of the colours seen so far; neighbouring pixels
    // mostly share a colour, so most pixels skip even that.
    const int tableSize = 1024;
    QRgb keys[tableSize];
    int values[tableSize];
    std::fill(values, values + tableSize, -1);
    QVector<QRgb> colours;
    QRgb last = 0;
    int lastIndex = -1;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *source = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        uchar *target = indexed.scanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = source[x];
            if (pixel != last || lastIndex < 0) {
                int slot = int((pixel * 2654435761u) >> 22) & (tableSize - 1);
                while (values[slot] >= 0 && keys[slot] != pixel)
                    slot = (slot + 1) & (tableSize - 1);
                if (values[slot] < 0) {
                    if (colours.size() == 256)
                        return QImage();
                    keys[slot] = pixel;
                    values[slot] = colours.size();
                    colours << pixel;
                }
                last = pixel;
                lastIndex = values[slot];
            }
            target[x] = uchar(lastIndex);
        }
    }
    indexed.setColorTable(colours);
    return indexed;
}

bool savePicture(const QImage &image, const QString &path, QString *why)
{
    // Other formats get the picture as drawn: an indexed one may encode otherwise.
    const bool png =
        QFileInfo(path).suffix().compare(QLatin1String("png"), Qt::CaseInsensitive) == 0;
    const QImage indexed = png ? exactIndexed(image) : QImage();
    if (!(indexed.isNull() ? image : indexed).save(path, nullptr, -1)) {
        if (why)
            *why = QStringLiteral("the image can not be saved to %1").arg(path);
        return false;
    }
    return true;
}

bool makeThumbnailImage(const QString &path, const QSize &size, const DataSet &dataSet,
                        QString *why)
{
    if (!thumbnailSizeAllowed(size)) {
        qDebug() << "Thumbnail image is too large:" << size.width() << size.height();
        if (why)
            *why = QStringLiteral("an image of %1 x %2 pixels is too large (at most %3 pixels)")
                       .arg(size.width())
                       .arg(size.height())
                       .arg(maxThumbnailPixels);
        return false;
    }
    const QImage image = drawThumbnail(size, dataSet);
    if (image.isNull()) {
        qDebug() << "Thumbnail image can not be allocated:" << size.width() << size.height();
        if (why)
            *why = QStringLiteral("an image of %1 x %2 pixels can not be allocated")
                       .arg(size.width())
                       .arg(size.height());
        return false;
    }
    return savePicture(image, path, why);
}

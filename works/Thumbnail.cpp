#include "works/Thumbnail.h"

#include "data/DataSet.h"

#include <QDebug>
#include <QImage>
#include <QPainter>

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

bool makeThumbnailImage(const QString &path, const QSize &size, const DataSet &dataSet,
                        QString *why)
{
    // The drawing fills every pixel, so the image needs no clearing.
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull()) {
        qDebug() << "Thumbnail image can not be allocated:" << size.width() << size.height();
        if (why)
            *why = QStringLiteral("an image of %1 x %2 pixels can not be allocated")
                       .arg(size.width())
                       .arg(size.height());
        return false;
    }
    QPainter painter(&image);
    dataSet.drawSpectrum(&painter);
    painter.end();
    if (!image.save(path, nullptr, -1)) {
        if (why)
            *why = QStringLiteral("the image can not be saved to %1").arg(path);
        return false;
    }
    return true;
}

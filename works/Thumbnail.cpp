#include "works/Thumbnail.h"

#include "data/DataSet.h"
#include "plot/Spectrum.h"
#include "text/AtomicFile.h"
#include "text/Why.h"

#include <QBuffer>
#include <QDebug>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QVector>
#include <QtAlgorithms>

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace korvane {

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

namespace {

// The largest picture whose memory a thread keeps for its next one (16 MiB):
// a pass draws every picture at the same size, and a fresh image costs a page
// fault for every 4 KiB the painter touches. Larger ones are rare and not
// worth holding on to while the window sits idle.
constexpr qint64 maxKeptPixels = qint64(2048) * 2048;

// kept, when no one else holds it and it has size and format, else a new
// image that becomes kept (when small enough). Whoever got kept from an
// earlier call holds a reference, so a picture handed out is never drawn over.
QImage &reusedImage(QImage &kept, QImage &fresh, const QSize &size, QImage::Format format)
{
    if (kept.isDetached() && kept.size() == size && kept.format() == format)
        return kept;
    fresh = QImage(size, format);
    if (fresh.isNull() || qint64(size.width()) * size.height() > maxKeptPixels)
        return fresh;
    kept = fresh;
    fresh = QImage();
    return kept;
}

// Writes index from x on for as long as source repeats pixel, sixteen pixels
// at a time (the background and the long lines are most of a picture), and
// returns the first x that differs. A block that breaks the run still gets
// index in full: the caller writes the pixels from the break on again.
int sameRun(const QRgb *source, uchar *target, int x, int width, QRgb pixel, uchar index)
{
#if defined(__SSE2__)
    const __m128i pattern = _mm_set1_epi32(int(pixel));
    const __m128i indexes = _mm_set1_epi8(char(index));
    for (; x + 16 <= width; x += 16) {
        const __m128i *at = reinterpret_cast<const __m128i *>(source + x);
        const __m128i low = _mm_packs_epi32(_mm_cmpeq_epi32(_mm_loadu_si128(at), pattern),
                                            _mm_cmpeq_epi32(_mm_loadu_si128(at + 1), pattern));
        const __m128i high = _mm_packs_epi32(_mm_cmpeq_epi32(_mm_loadu_si128(at + 2), pattern),
                                             _mm_cmpeq_epi32(_mm_loadu_si128(at + 3), pattern));
        // One bit a pixel, set where it repeats pixel.
        const uint same = uint(_mm_movemask_epi8(_mm_packs_epi16(low, high)));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(target + x), indexes);
        if (same != 0xffff)
            return x + int(qCountTrailingZeroBits(~same));
    }
#endif
    for (; x < width && source[x] == pixel; ++x)
        target[x] = index;
    return x;
}

} // namespace

QImage drawThumbnail(const QSize &size, const DataSet &dataSet)
{
    // A size typed with a few zeros too many must not make the pass allocate
    // and paint gigabytes: Qt would try, and overcommit lets it, until memory
    // runs out in the middle of the drawing.
    if (!thumbnailSizeAllowed(size))
        return QImage();
    thread_local QImage canvas;
    QImage fresh;
    // The drawing fills every pixel, so the image needs no clearing.
    QImage &image = reusedImage(canvas, fresh, size, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    QPainter painter(&image);
    drawSpectrum(&painter, dataSet);
    painter.end();
    return image;
}

QImage exactIndexed(const QImage &image)
{
    if (image.format() != QImage::Format_RGB32)
        return QImage();
    thread_local QImage kept;
    QImage fresh;
    QImage &indexed = reusedImage(kept, fresh, image.size(), QImage::Format_Indexed8);
    if (indexed.isNull())
        return indexed;
    // An open-addressed table of the colours seen so far, looked up only where
    // a run of one colour ends: most pixels are runs, taken by sameRun.
    const int tableSize = 1024;
    QRgb keys[tableSize];
    int values[tableSize];
    std::fill(values, values + tableSize, -1);
    QRgb colours[256];
    int colourCount = 0;
    const int width = image.width();
    const int height = image.height();
    const uchar *sourceLine = image.constBits();
    const qsizetype sourceStride = image.bytesPerLine();
    uchar *targetLine = indexed.bits();
    const qsizetype targetStride = indexed.bytesPerLine();
    QRgb last = 0;
    int lastIndex = -1;
    for (int y = 0; y < height; ++y, sourceLine += sourceStride, targetLine += targetStride) {
        const QRgb *source = reinterpret_cast<const QRgb *>(sourceLine);
        uchar *target = targetLine;
        int x = 0;
        while (x < width) {
            const QRgb pixel = source[x];
            if (pixel != last || lastIndex < 0) {
                int slot = int((pixel * 2654435761u) >> 22) & (tableSize - 1);
                while (values[slot] >= 0 && keys[slot] != pixel)
                    slot = (slot + 1) & (tableSize - 1);
                if (values[slot] < 0) {
                    if (colourCount == 256)
                        return QImage();
                    keys[slot] = pixel;
                    values[slot] = colourCount;
                    colours[colourCount++] = pixel;
                }
                last = pixel;
                lastIndex = values[slot];
            }
            target[x++] = uchar(lastIndex);
            x = sameRun(source, target, x, width, pixel, uchar(lastIndex));
        }
    }
    indexed.setColorTable(QVector<QRgb>(colours, colours + colourCount));
    return indexed;
}

bool savePicture(const QImage &image, const QString &path, QString *why)
{
    // Other formats get the picture as drawn: an indexed one may encode otherwise.
    const QByteArray format = QFileInfo(path).suffix().toLower().toLatin1();
    const QImage indexed = format == "png" ? exactIndexed(image) : QImage();
    // Encoded in memory first, so that a picture that cannot be written
    // whole (a full disk) leaves the earlier one in place.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!(indexed.isNull() ? image : indexed).save(&buffer, format.constData(), -1)) {
        setWhy(why, reason("the image can not be saved to %1").arg(path));
        return false;
    }
    // Made again by every pass: not forced to disk.
    return writeFileAtomically(path, bytes, Durability::Cached, why);
}

bool makeThumbnailImage(const QString &path, const QSize &size, const DataSet &dataSet,
                        QString *why)
{
    if (!thumbnailSizeAllowed(size)) {
        qDebug() << "Thumbnail image is too large:" << size.width() << size.height();
        setWhy(why, reason("an image of %1 x %2 pixels is too large (at most %3 pixels)")
                        .arg(size.width())
                        .arg(size.height())
                        .arg(maxThumbnailPixels));
        return false;
    }
    const QImage image = drawThumbnail(size, dataSet);
    if (image.isNull()) {
        qDebug() << "Thumbnail image can not be allocated:" << size.width() << size.height();
        setWhy(why, reason("an image of %1 x %2 pixels can not be allocated")
                        .arg(size.width())
                        .arg(size.height()));
        return false;
    }
    return savePicture(image, path, why);
}

} // namespace korvane

#include "data/DataSet.h"
#include "works/Thumbnail.h"

#include "TestSupport.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

// An RGB32 picture whose pixels cycle through the first colours of a
// scattered sequence, so that neighbours differ and colours collide in hashes.
QImage cycledColours(const QSize &size, int colours)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const uint k = uint((x * 7 + y * 13) % colours);
            image.setPixel(x, y, qRgb(int(k * 37 % 256), int(k * 1024 % 256), int(k / 256 * 91)));
        }
    return image;
}

// Runs of one colour of every length from 1 to 40, across the ends of rows,
// so that a run breaks at every place within a block of pixels.
QImage runsOfEveryLength(const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    int length = 1, left = 1, colour = 0;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            if (--left == 0) {
                length = length % 40 + 1;
                left = length;
                colour = (colour + 1) % 5;
            }
            image.setPixel(x, y, qRgb(colour * 60, 255 - colour * 50, 7));
        }
    return image;
}

QImage spectrum(const QString &dataFile, const QSize &size)
{
    DataSet dataSet;
    dataSet.openFile(true, dataFile, nullptr);
    return drawThumbnail(size, dataSet);
}

} // namespace

class TestPngIdentity : public QObject
{
    Q_OBJECT

private slots:
    void samePixels_data();
    void samePixels();
};

void TestPngIdentity::samePixels_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<bool>("indexed");
    const QString example = sourcePath(QStringLiteral("examples/Cu_foil_K_001.dat"));
    QTest::newRow("spectrum") << spectrum(example, QSize(1024, 1024)) << true;
    QTest::newRow("small spectrum") << spectrum(example, QSize(120, 90)) << true;
    QTest::newRow("spectrum of test data")
        << spectrum(testDataPath(QStringLiteral("scan3.dat")), QSize(640, 480)) << true;
    QTest::newRow("one grey") << cycledColours(QSize(33, 7), 1) << true;
    QTest::newRow("runs of every length") << runsOfEveryLength(QSize(517, 23)) << true;
    QTest::newRow("256 colours") << cycledColours(QSize(300, 200), 256) << true;
    QTest::newRow("257 colours") << cycledColours(QSize(300, 200), 257) << false;
    QTest::newRow("thousands of colours") << cycledColours(QSize(200, 200), 5000) << false;
    QTest::newRow("with alpha")
        << cycledColours(QSize(20, 20), 3).convertToFormat(QImage::Format_ARGB32) << false;
}

void TestPngIdentity::samePixels()
{
    QFETCH(QImage, image);
    QFETCH(bool, indexed);
    QVERIFY(!image.isNull());
    QTemporaryDir dir;
    const QString plainPath = dir.filePath(QStringLiteral("plain.png"));
    const QString savedPath = dir.filePath(QStringLiteral("saved.png"));
    QVERIFY(image.save(plainPath, "PNG"));
    QVERIFY(savePicture(image, savedPath));

    // The colour type of the PNG header: 3 is a palette, 0 grey levels (what
    // an indexed picture of greys becomes); both take a byte per pixel.
    const char colourType = readBytes(savedPath).at(25);
    QCOMPARE(colourType == 3 || colourType == 0, indexed);
    const QImage saved(savedPath);
    const QImage plain(plainPath);
    QCOMPARE(saved.size(), plain.size());
    const QImage::Format common =
        image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    QVERIFY(saved.convertToFormat(common) == plain.convertToFormat(common));
}

QTEST_MAIN(TestPngIdentity)
#include "TestPngIdentity.moc"

// The work's picture: its size, drawing it again on reused memory, and the
// palette PNG it is saved as, which must decode to exactly the drawn pixels.

#include "data/DataSet.h"
#include "works/Thumbnail.h"

#include "TestSupport.h"

namespace {

std::unique_ptr<DataSet> example(const QString &name)
{
    auto set = std::make_unique<DataSet>();
    set->openFile(true, sourcePath("examples/" + name), nullptr);
    return set;
}

// Runs of one colour of every length from 1 to 40, across the ends of rows,
// so that a run breaks at every place within a block of pixels; the colours
// are the first of a scattered sequence, so that they collide in hashes.
QImage runs(const QSize &size, int colours)
{
    QImage image(size, QImage::Format_RGB32);
    for (int i = 0, length = 1, left = 1, k = 0; i < size.width() * size.height(); ++i) {
        if (--left == 0) {
            length = length % 40 + 1;
            left = length;
            k = (k + 1) % colours;
        }
        image.setPixel(i % size.width(), i / size.width(),
                       qRgb(k * 37 % 256, k * 101 % 256, k / 256 * 91));
    }
    return image;
}

} // namespace

class TestThumbnail : public QObject
{
    Q_OBJECT
private slots:
    void size_data();
    void size();
    void save_data();
    void save();
    void drawnAgain_data();
    void drawnAgain();
};

void TestThumbnail::size_data()
{
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<QSize>("size");
    auto row = [](const char *name, const char *width, const char *height, QSize size) {
        QTest::newRow(name) << QString(width) << QString(height) << size;
    };
    row("zero height", "800", "0", QSize(800, 1024));
    row("empty and letters", "", "abc", QSize(1024, 1024));
    row("negative", "-5", "300", QSize(1024, 300));
    row("one", "1", "12x", QSize(1, 1024));
}

void TestThumbnail::size()
{
    QFETCH(QString, width);
    QFETCH(QString, height);
    QTEST(thumbnailSize(width, height), "size");
}

void TestThumbnail::save_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("colours"); // 0: an example's spectrum, drawn and saved as a work's
    QTest::addColumn<QString>("name");
    // The colour type of the PNG: 3 a palette, 0 grey levels, 2 true colour; -1 nothing saved.
    QTest::addColumn<int>("type");
    QTest::newRow("spectrum") << QSize(1024, 1024) << 0 << "Cu_foil_K.png" << 3;
    QTest::newRow("absurd size") << QSize(100000, 100000) << 0 << "big.png" << -1;
    QTest::newRow("missing folder") << QSize(64, 64) << 0 << "no/such/folder/a.png" << -1;
    QTest::newRow("one colour") << QSize(33, 7) << 1 << "grey.png" << 0;
    QTest::newRow("runs of every length") << QSize(517, 23) << 5 << "runs.png" << 3;
    QTest::newRow("256 colours") << QSize(300, 200) << 256 << "256.png" << 3;
    QTest::newRow("257 colours") << QSize(300, 200) << 257 << "257.png" << 2;
}

void TestThumbnail::save()
{
    QFETCH(QSize, size);
    QFETCH(int, colours);
    QFETCH(QString, name);
    QFETCH(int, type);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    const auto set = example("Cu_foil_K_001.dat");
    const QImage drawn = colours ? runs(size, colours) : drawThumbnail(size, *set);
    QString why;
    const bool saved =
        colours ? savePicture(drawn, path, &why) : makeThumbnailImage(path, size, *set, &why);
    QCOMPARE(saved, type >= 0);
    QCOMPARE(why.isEmpty(), saved);
    QCOMPARE(QFile::exists(path), saved);
    QCOMPARE(saved ? int(readBytes(path).at(25)) : -1, type);
    QVERIFY(!saved || QImage(path).convertToFormat(QImage::Format_RGB32) == drawn);
}

void TestThumbnail::drawnAgain_data()
{
    QTest::addColumn<QSize>("firstSize");
    QTest::addColumn<bool>("keepFirst");
    QTest::newRow("same size, first let go") << QSize(400, 300) << false;
    QTest::newRow("same size, first kept") << QSize(400, 300) << true;
    QTest::newRow("another size") << QSize(300, 400) << false;
}

// A picture drawn where another was drawn before must be the one drawn on a
// new image, and a picture still held must never be drawn over.
void TestThumbnail::drawnAgain()
{
    QFETCH(QSize, firstSize);
    QFETCH(bool, keepFirst);
    const QSize size(400, 300);
    const auto first = example("Cu_foil_K_001.dat"), second = example("CuO_K_002.dat");
    QImage firstImage = drawThumbnail(firstSize, *first), firstIndexed = exactIndexed(firstImage);
    const QImage firstCopy = firstImage.copy(), firstIndexedCopy = firstIndexed.copy();
    if (!keepFirst)
        firstImage = firstIndexed = QImage();
    const QImage image = drawThumbnail(size, *second), indexed = exactIndexed(image);
    const QImage imageCopy = image.copy(), indexedCopy = indexed.copy();
    // Drawn while the two above are held: on new images.
    const QImage fresh = drawThumbnail(size, *second);
    QVERIFY(!indexed.isNull() && imageCopy != firstCopy);
    QCOMPARE(image, fresh);
    QCOMPARE(indexed, exactIndexed(fresh));
    QCOMPARE(image, imageCopy);
    QCOMPARE(indexed, indexedCopy);
    QVERIFY(!keepFirst || (firstImage == firstCopy && firstIndexed == firstIndexedCopy));
}

QTEST_MAIN(TestThumbnail)
#include "TestThumbnail.moc"

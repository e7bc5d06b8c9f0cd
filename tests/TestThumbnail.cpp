#include "data/DataSet.h"
#include "works/Thumbnail.h"

#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A small absorption edge, its jump at the index given.
void makeEdgeScan(DataSet &set, const QString &fileName, int edgeAt = 20)
{
    set.fileName = fileName;
    for (int i = 0; i < 50; ++i) {
        DataPoint point;
        point.energy = 8900 + 4 * i;
        point.counts = {1e5, 1e5 / (1.5 + (i > edgeAt))};
        set.points.append(point);
    }
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

// clang-format off
void TestThumbnail::size_data()
{
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<QSize>("size");
    QTest::newRow("zero height") << "800" << "0" << QSize(800, 1024);
    QTest::newRow("empty and letters") << "" << "abc" << QSize(1024, 1024);
    QTest::newRow("negative") << "-5" << "300" << QSize(1024, 300);
    QTest::newRow("one") << "1" << "12x" << QSize(1, 1024);
}
// clang-format on

void TestThumbnail::size()
{
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(QSize, size);
    QCOMPARE(thumbnailSize(width, height), size);
}

// clang-format off
void TestThumbnail::save_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("saved");
    QTest::newRow("png") << "Cu_foil_K.png" << QSize(400, 300) << true;
    QTest::newRow("absurd size") << "big.png" << QSize(100000, 100000) << false;
    QTest::newRow("missing folder") << "no/such/folder/a.png" << QSize(64, 64) << false;
}
// clang-format on

void TestThumbnail::save()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFETCH(bool, saved);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    DataSet set;
    makeEdgeScan(set, QStringLiteral("Cu_foil_K.dat"));
    const QString path = dir.filePath(name);
    QString why;
    QCOMPARE(makeThumbnailImage(path, size, set, &why), saved);
    QCOMPARE(why.isEmpty(), saved);
    QCOMPARE(QFile::exists(path), saved);
    // Decoded as PNG whatever the suffix says.
    QCOMPARE(QImage(path, "png").size(), saved ? size : QSize(0, 0));
}

// clang-format off
void TestThumbnail::drawnAgain_data()
{
    QTest::addColumn<QSize>("firstSize");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("keepFirst");
    QTest::newRow("same size, first let go") << QSize(400, 300) << QSize(400, 300) << false;
    QTest::newRow("same size, first kept") << QSize(400, 300) << QSize(400, 300) << true;
    QTest::newRow("another size") << QSize(300, 400) << QSize(400, 300) << false;
}
// clang-format on

void TestThumbnail::drawnAgain()
{
    // A picture drawn where another was drawn before must be the one drawn
    // on a new image, and a picture still held must never be drawn over.
    QFETCH(QSize, firstSize);
    QFETCH(QSize, size);
    QFETCH(bool, keepFirst);
    DataSet first, second;
    makeEdgeScan(first, QStringLiteral("first.dat"), 10);
    makeEdgeScan(second, QStringLiteral("second.dat"), 35);
    QImage firstImage = drawThumbnail(firstSize, first);
    QImage firstIndexed = exactIndexed(firstImage);
    const QImage firstCopy = firstImage.copy();
    const QImage firstIndexedCopy = firstIndexed.copy();
    if (!keepFirst)
        firstImage = firstIndexed = QImage();
    const QImage image = drawThumbnail(size, second);
    const QImage indexed = exactIndexed(image);
    const QImage imageCopy = image.copy();
    const QImage indexedCopy = indexed.copy();
    // Drawn while the two above are held: on new images.
    const QImage fresh = drawThumbnail(size, second);
    const QImage freshIndexed = exactIndexed(fresh);
    QVERIFY(!indexed.isNull());
    QCOMPARE(image, fresh);
    QCOMPARE(indexed, freshIndexed);
    QCOMPARE(image, imageCopy);
    QCOMPARE(indexed, indexedCopy);
    QVERIFY(imageCopy != firstCopy);
    if (keepFirst) {
        QCOMPARE(firstImage, firstCopy);
        QCOMPARE(firstIndexed, firstIndexedCopy);
    }
}

QTEST_MAIN(TestThumbnail)
#include "TestThumbnail.moc"

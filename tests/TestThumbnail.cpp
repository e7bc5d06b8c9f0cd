#include "data/DataSet.h"
#include "works/Thumbnail.h"

#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

class TestThumbnail : public QObject
{
    Q_OBJECT
private slots:
    void size_data();
    void size();
    void save_data();
    void save();
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
    set.fileName = QStringLiteral("Cu_foil_K.dat");
    for (int i = 0; i < 50; ++i) {
        DataPoint point;
        point.energy = 8900 + 4 * i;
        point.counts = {1e5, 1e5 / (1.5 + (i > 20))};
        set.points.append(point);
    }
    const QString path = dir.filePath(name);
    QString why;
    QCOMPARE(makeThumbnailImage(path, size, set, &why), saved);
    QCOMPARE(why.isEmpty(), saved);
    QCOMPARE(QFile::exists(path), saved);
    // Decoded as PNG whatever the suffix says.
    QCOMPARE(QImage(path, "png").size(), saved ? size : QSize(0, 0));
}

QTEST_MAIN(TestThumbnail)
#include "TestThumbnail.moc"

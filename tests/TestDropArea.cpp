// Dropped files reach the window one signal per URL, in the drop's order,
// with drive-letter paths made openable; the area's text never changes.

#include "ui/DropArea.h"

#include <QMimeData>
#include <QSignalSpy>
#include <QUrl>
#include <QtTest>

class TestDropArea : public QObject
{
    Q_OBJECT
private slots:
    void drop_data();
    void drop();
};

// clang-format off
void TestDropArea::drop_data()
{
    QTest::addColumn<QStringList>("urls");
    QTest::addColumn<QString>("format"); // of the payload beside the URLs
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QStringList>("signals"); // path|url|scheme|host of each

    const QByteArray none;
    QTest::newRow("unix file") << QStringList{"file:///home/u/a.dat"} << "" << none << QStringList{"/home/u/a.dat|file:///home/u/a.dat|file|"};
    QTest::newRow("drive letter") << QStringList{"file:///C:/dir/a.dat"} << "" << none << QStringList{"C:/dir/a.dat|file:///C:/dir/a.dat|file|"};
    QTest::newRow("drive letter only") << QStringList{"file:///C:"} << "" << none << QStringList{"C:|file:///C:|file|"};
    QTest::newRow("short path") << QStringList{"file:///C"} << "" << none << QStringList{"/C|file:///C|file|"};
    QTest::newRow("colon later") << QStringList{"file:///ab:c"} << "" << none << QStringList{"/ab:c|file:///ab:c|file|"};
    QTest::newRow("encoded blank") << QStringList{"file:///home/u/my%20data.dat"} << "" << none << QStringList{"/home/u/my data.dat|file:///home/u/my data.dat|file|"};
    QTest::newRow("network share") << QStringList{"file://server/share/a.dat"} << "" << none << QStringList{"/share/a.dat|file://server/share/a.dat|file|server"};
    QTest::newRow("web link") << QStringList{"http://example.org/x/a.dat"} << "" << none << QStringList{"/x/a.dat|http://example.org/x/a.dat|http|example.org"};
    // Text beside the URLs must not end up in the line edit.
    QTest::newRow("three in order, with text") << QStringList{"file:///d/c.dat", "file:///d/a.dat", "file:///d/b.dat"} << "text/plain" << QByteArray("inserted") << QStringList{"/d/c.dat|file:///d/c.dat|file|", "/d/a.dat|file:///d/a.dat|file|", "/d/b.dat|file:///d/b.dat|file|"};
    QTest::newRow("plain text only") << QStringList{} << "text/plain" << QByteArray("/home/u/a.dat") << QStringList{};
    QTest::newRow("unknown format") << QStringList{} << "application/x-unknown" << QByteArray("\x01\x02") << QStringList{};
}
// clang-format on

void TestDropArea::drop()
{
    QFETCH(QStringList, urls);
    QFETCH(QString, format);
    QFETCH(QByteArray, payload);

    DropArea area;
    area.setReadOnly(true);
    area.setDragEnabled(true);
    area.setText("Drop XAFS DATA Files Here");
    area.show();
    QSignalSpy spy(&area, &DropArea::dropped);
    QMimeData data;
    QList<QUrl> list;
    for (const QString &url : urls)
        list << QUrl(url);
    if (!format.isEmpty())
        data.setData(format, payload);
    if (!list.isEmpty())
        data.setUrls(list);

    // Delivered as a drag from a file manager arrives: enter, then drop.
    const QPoint at = area.rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&area, &enter);
    QVERIFY(enter.isAccepted());
    QCOMPARE(enter.dropAction(), Qt::CopyAction);
    QDropEvent dropEvent(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&area, &dropEvent);

    QStringList got;
    for (const QList<QVariant> &args : qAsConst(spy))
        got << args[0].toString() + '|' + args[1].toString() + '|' + args[2].toString() + '|' +
                   args[3].toString();
    QTEST(got, "signals");
    QCOMPARE(area.text(), QString("Drop XAFS DATA Files Here"));
}

QTEST_MAIN(TestDropArea)
#include "TestDropArea.moc"

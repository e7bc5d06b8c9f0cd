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
    void init();
    void cleanup();
    void urlParts_data();
    void urlParts();
    void oneSignalPerUrlInOrder();
    void everyDragIsAccepted_data();
    void everyDragIsAccepted();
    void plainTextEmitsNothing();

private:
    // Delivers a drag entering the area and then the drop, the way a drag
    // from a file manager arrives; returns whether the drop was accepted.
    bool drop(QMimeData *data);
    DropArea *area = nullptr;
};

void TestDropArea::init()
{
    area = new DropArea;
    area->setReadOnly(true);
    area->setDragEnabled(true);
    area->setText(QStringLiteral("Drop XAFS DATA Files Here"));
    area->show();
}

void TestDropArea::cleanup()
{
    delete area;
    area = nullptr;
}

bool TestDropArea::drop(QMimeData *data)
{
    const QPoint at = area->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(area, &enter);
    QDropEvent dropEvent(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(area, &dropEvent);
    return dropEvent.isAccepted();
}

void TestDropArea::urlParts_data()
{
    QTest::addColumn<QUrl>("url");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("scheme");
    QTest::addColumn<QString>("host");

    QTest::newRow("unix file") << QUrl(QStringLiteral("file:///home/u/a.dat")) << "/home/u/a.dat"
                               << "file"
                               << "";
    QTest::newRow("drive letter") << QUrl(QStringLiteral("file:///C:/dir/a.dat")) << "C:/dir/a.dat"
                                  << "file"
                                  << "";
    QTest::newRow("drive letter only") << QUrl(QStringLiteral("file:///C:")) << "C:"
                                       << "file"
                                       << "";
    QTest::newRow("short path") << QUrl(QStringLiteral("file:///C")) << "/C"
                                << "file"
                                << "";
    QTest::newRow("colon later") << QUrl(QStringLiteral("file:///ab:c")) << "/ab:c"
                                 << "file"
                                 << "";
    QTest::newRow("encoded blank")
        << QUrl(QStringLiteral("file:///home/u/my%20data.dat")) << "/home/u/my data.dat"
        << "file"
        << "";
    QTest::newRow("network share")
        << QUrl(QStringLiteral("file://server/share/a.dat")) << "/share/a.dat"
        << "file"
        << "server";
    QTest::newRow("web link") << QUrl(QStringLiteral("http://example.org/x/a.dat")) << "/x/a.dat"
                              << "http"
                              << "example.org";
}

void TestDropArea::urlParts()
{
    QFETCH(QUrl, url);
    QFETCH(QString, path);
    QFETCH(QString, scheme);
    QFETCH(QString, host);

    QSignalSpy spy(area, &DropArea::dropped);
    QMimeData data;
    data.setUrls({url});
    QVERIFY(!drop(&data));
    QCOMPARE(spy.count(), 1);
    const QList<QVariant> args = spy.first();
    QCOMPARE(args.at(0).toString(), path);
    QCOMPARE(args.at(1).toString(), url.url());
    QCOMPARE(args.at(2).toString(), scheme);
    QCOMPARE(args.at(3).toString(), host);
}

void TestDropArea::oneSignalPerUrlInOrder()
{
    QSignalSpy spy(area, &DropArea::dropped);
    QMimeData data;
    const QStringList paths = {QStringLiteral("/d/c.dat"), QStringLiteral("/d/a.dat"),
                               QStringLiteral("/d/b.dat")};
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
    // Text beside the URLs must not end up in the line edit.
    data.setText(QStringLiteral("inserted"));
    drop(&data);

    QStringList got;
    for (const QList<QVariant> &args : qAsConst(spy))
        got << args.at(0).toString();
    QCOMPARE(got, paths);
    QCOMPARE(area->text(), QStringLiteral("Drop XAFS DATA Files Here"));
}

void TestDropArea::everyDragIsAccepted_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QByteArray>("payload");

    QTest::newRow("uri list") << "text/uri-list" << QByteArray("file:///home/u/a.dat\r\n");
    QTest::newRow("plain text") << "text/plain" << QByteArray("some text");
    QTest::newRow("unknown") << "application/x-unknown" << QByteArray("\x01\x02");
}

void TestDropArea::everyDragIsAccepted()
{
    QFETCH(QString, format);
    QFETCH(QByteArray, payload);

    QMimeData data;
    data.setData(format, payload);
    QDragEnterEvent enter(area->rect().center(), Qt::CopyAction, &data, Qt::LeftButton,
                          Qt::NoModifier);
    QCoreApplication::sendEvent(area, &enter);
    QVERIFY(enter.isAccepted());
    QCOMPARE(enter.dropAction(), Qt::CopyAction);
}

void TestDropArea::plainTextEmitsNothing()
{
    QSignalSpy spy(area, &DropArea::dropped);
    QMimeData data;
    data.setText(QStringLiteral("/home/u/a.dat"));
    drop(&data);
    QCOMPARE(spy.count(), 0);
    QCOMPARE(area->text(), QStringLiteral("Drop XAFS DATA Files Here"));
}

QTEST_MAIN(TestDropArea)
#include "TestDropArea.moc"

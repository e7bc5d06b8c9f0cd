// Every input a fuzz target once failed on, in tests/data/fuzz and named "<target>-<what>", goes
// through the same check and must now hold; so do the example files each target starts from.

#include "fuzz/FuzzChecks.h"

#include "TestSupport.h"

class TestFuzzRegressions : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(QDir::setCurrent(folder.path())); }
    void replay_data();
    void replay();

private:
    QTemporaryDir folder; // the configuration check's a.cfg
};

void TestFuzzRegressions::replay_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("path");

    const QDir findings(testDataPath("fuzz")), examples(sourcePath("examples"));
    // A lost folder would pass with no rows at all.
    QVERIFY(!findings.isEmpty(QDir::Files));
    for (const QString &name : findings.entryList(QDir::Files))
        QTest::newRow(qPrintable(name)) << name.section('-', 0, 0) << findings.filePath(name);
    for (const QString &start :
         words("read9809:*.dat read9809:*.qd pipeline:*.dat pipeline:*.qd info:*.info "
               "config:*.cfg template:*.yml commprops:commProps* dataprops:dataProps*")) {
        const QString target = start.section(':', 0, 0);
        for (const QString &name : examples.entryList({start.section(':', 1)}, QDir::Files))
            QTest::addRow("%s %s", qPrintable(target), qPrintable(name))
                << target << examples.filePath(name);
    }
    // The files written as real beamlines write them.
    const QDir real(testDataPath("real"));
    for (const QString target : {"read9809", "pipeline"})
        for (const QString &name : real.entryList(QDir::Files))
            QTest::addRow("%s real/%s", qPrintable(target), qPrintable(name))
                << target << real.filePath(name);
}

void TestFuzzRegressions::replay()
{
    QFETCH(QString, target);
    QFETCH(QString, path);
    const QByteArray bytes = readBytes(path);
    QString why;
    QVERIFY(!bytes.isEmpty());
    QVERIFY2(fuzz::check(target, bytes, &why), qPrintable(why));
}

QTEST_MAIN(TestFuzzRegressions)
#include "TestFuzzRegressions.moc"

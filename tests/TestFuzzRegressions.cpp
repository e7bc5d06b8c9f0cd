// Every input a fuzz target once failed on, in tests/data/fuzz and named
// "<target>-<what>", goes through the same reader and must now keep the
// same property; so do the example files each target starts from.

#include "fuzz/FuzzChecks.h"

#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class TestFuzzRegressions : public QObject
{
    Q_OBJECT
private slots:
    void replay_data();
    void replay();
};

void TestFuzzRegressions::replay_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("path");

    const QDir findings(testDataPath(QStringLiteral("fuzz")));
    const QStringList names = findings.entryList(QDir::Files, QDir::Name);
    // A lost folder would pass with no rows at all.
    QVERIFY(!names.isEmpty());
    for (const QString &name : names)
        QTest::newRow(qPrintable(name))
            << name.section(QLatin1Char('-'), 0, 0) << findings.filePath(name);

    const QDir examples(sourcePath(QStringLiteral("examples")));
    const QPair<const char *, const char *> starts[] = {{"read9809", "*.dat"},
                                                        {"read9809", "*.qd"},
                                                        {"pipeline", "*.dat"},
                                                        {"pipeline", "*.qd"},
                                                        {"info", "*.info"},
                                                        {"config", "*.cfg"},
                                                        {"template", "*.yml"},
                                                        {"commprops", "commProps*.csv"},
                                                        {"dataprops", "dataProps*.csv"}};
    for (const auto &start : starts) {
        for (const QString &name : examples.entryList({QLatin1String(start.second)}, QDir::Files))
            QTest::addRow("%s %s", start.first, qPrintable(name))
                << QString::fromLatin1(start.first) << examples.filePath(name);
    }
    // The files written as real beamlines write them.
    const QDir real(testDataPath(QStringLiteral("real")));
    for (const char *target : {"read9809", "pipeline"})
        for (const QString &name : real.entryList(QDir::Files))
            QTest::addRow("%s real/%s", target, qPrintable(name))
                << QString::fromLatin1(target) << real.filePath(name);
}

void TestFuzzRegressions::replay()
{
    QFETCH(QString, target);
    QFETCH(QString, path);
    const QByteArray bytes = readBytes(path);
    QVERIFY(!bytes.isEmpty());
    const QMap<QString, bool (*)(const QByteArray &, QString *)> checks{
        {"read9809", fuzz::read9809},     {"info", fuzz::info},
        {"template", fuzz::metaTemplate}, {"commprops", fuzz::commonProps},
        {"dataprops", fuzz::dataProps},   {"pipeline", fuzz::pipeline}};
    QString why;
    if (target == "config") {
        // The reader resolves INCLUDE names from the current folder.
        QTemporaryDir folder;
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(folder.path()));
        const bool held = fuzz::config(bytes, folder.path(), &why);
        QDir::setCurrent(before);
        QVERIFY2(held, qPrintable(why));
    } else {
        QVERIFY2(checks.contains(target), qPrintable("no fuzz target named " + target));
        QVERIFY2(checks[target](bytes, &why), qPrintable(why));
    }
}

QTEST_MAIN(TestFuzzRegressions)
#include "TestFuzzRegressions.moc"

// The batch pass draws pictures on every core; everything it writes and
// reports must be what the one-thread pass writes and reports.

#include "data/DataSet.h"
#include "template/MetaTemplate.h"
#include "works/WorkPass.h"

#include "TestSupport.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

struct PassOutput
{
    QMap<QString, QByteArray> files; // relative path -> bytes
    QStringList made;                // number, data file, relative folder
    QStringList announced;           // the same, as onWork saw them
    QStringList failures;
    bool ok = false;
};

QString describe(const WorkPassReport::Work &work, const QDir &root)
{
    return QStringLiteral("%1 %2 %3")
        .arg(work.number)
        .arg(work.dataPath, root.relativeFilePath(work.folder));
}

PassOutput runPass(const QList<DataSet *> &sets, const MetaTemplate &tpl, bool parallel,
                   const QStringList &blockedPictures)
{
    PassOutput out;
    QTemporaryDir tmp;
    const QDir root(tmp.path());
    // A folder where a picture should go makes that picture fail.
    for (const QString &blocked : blockedPictures)
        root.mkpath(blocked);
    WorkOptions options;
    options.useWork = true;
    options.work = QStringLiteral("w");
    options.imageSize = QSize(300, 200);
    WorkPassReport report;
    report.parallel = parallel;
    report.onWork = [&](const WorkPassReport::Work &w) { out.announced << describe(w, root); };
    out.ok = runWorkPass(root, sets, options, tpl, {{QStringLiteral("SMPL_001"), "x"}}, &report);
    for (const WorkPassReport::Work &w : report.made)
        out.made << describe(w, root);
    for (QString failure : report.failures)
        out.failures << failure.replace(tmp.path(), QStringLiteral("<works>"));
    QDirIterator it(tmp.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        out.files.insert(root.relativeFilePath(path), readBytes(path));
    }
    return out;
}

} // namespace

class TestParallelPass : public QObject
{
    Q_OBJECT

private slots:
    void sameAsOneThread_data();
    void sameAsOneThread();
};

void TestParallelPass::sameAsOneThread_data()
{
    // Indexes into the example data sets, in pass order; -1 is a data set
    // whose data file has gone, 100 + i the example i flagged off.
    QTest::addColumn<QVector<int>>("order");
    QTest::addColumn<QStringList>("blockedPictures");
    QTest::addColumn<int>("works"); // given a folder
    QTest::newRow("every example") << QVector<int>{0, 1, 2, 3, 4} << QStringList() << 5;
    QTest::newRow("many works") << QVector<int>{0, 1, 2, 3, 4, 0, 1, 2, 3, 4, 4, 4, 3, 2, 1, 0}
                                << QStringList() << 16;
    QTest::newRow("unflagged and missing")
        << QVector<int>{100, 1, -1, 102, 3, -1} << QStringList() << 4;
    QTest::newRow("pictures that fail")
        << QVector<int>{0, 1, 2, 3}
        << QStringList{"w-0001/Cu2O_K_003.png", "w-0003/CuSO4_sol_004.png"} << 4;
}

void TestParallelPass::sameAsOneThread()
{
    QFETCH(QVector<int>, order);
    QFETCH(QStringList, blockedPictures);
    QFETCH(int, works);
    MetaTemplate tpl;
    QVERIFY(tpl.load(sourcePath(QStringLiteral("examples/korvane-template.yml"))));
    QStringList files = QDir(sourcePath(QStringLiteral("examples")))
                            .entryList({QStringLiteral("*.dat")}, QDir::Files, QDir::Name);
    QVERIFY(files.size() >= 5);
    std::vector<std::unique_ptr<DataSet>> owned;
    QList<DataSet *> sets;
    for (int index : order) {
        const int example = index < 0 ? 0 : index % 100;
        owned.push_back(std::make_unique<DataSet>());
        DataSet *ds = owned.back().get();
        ds->openFile(index < 100, sourcePath(QStringLiteral("examples/") + files.at(example)),
                     &tpl);
        QVERIFY(ds->ok);
        if (index < 0)
            ds->path += QStringLiteral(".gone");
        // A repeated example is the same record twice, as a list may hold it.
        if (order.indexOf(index) < sets.size() && index >= 0)
            sets << sets.at(order.indexOf(index));
        else
            sets << ds;
    }

    const PassOutput serial = runPass(sets, tpl, false, blockedPictures);
    const PassOutput parallel = runPass(sets, tpl, true, blockedPictures);
    // A work whose data file or picture failed is not made.
    QCOMPARE(serial.made.size(), works - blockedPictures.size() - order.count(-1));
    QCOMPARE(serial.files.keys().filter(QStringLiteral(".png")).size(),
             works - blockedPictures.size());
    QCOMPARE(parallel.made, serial.made);
    QCOMPARE(parallel.announced, serial.made);
    QCOMPARE(serial.announced, serial.made);
    QCOMPARE(parallel.failures, serial.failures);
    QCOMPARE(parallel.ok, serial.ok);
    QCOMPARE(serial.ok, blockedPictures.isEmpty() && !order.contains(-1));
    QCOMPARE(parallel.files.keys(), serial.files.keys());
    for (auto it = serial.files.cbegin(); it != serial.files.cend(); ++it)
        QVERIFY2(parallel.files.value(it.key()) == it.value(), qPrintable(it.key()));
}

QTEST_MAIN(TestParallelPass)
#include "TestParallelPass.moc"

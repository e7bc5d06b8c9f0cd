// Copies into a work replace their target in one step, keep an identical one
// and leave nothing behind when they fail.

#include "works/Copy.h"

#include "TestSupport.h"

#include <QDir>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(CopyResult)

namespace {

enum Target
{
    NoTarget,
    OldFile,
    Folder,
    MissingFolder
};

} // namespace

class TestAtomicWrite : public QObject
{
    Q_OBJECT

private slots:
    void copyIfChanged_data();
    void copyIfChanged();
};

void TestAtomicWrite::copyIfChanged_data()
{
    QTest::addColumn<QByteArray>("source"); // null: no source file
    QTest::addColumn<int>("target");
    QTest::addColumn<QByteArray>("old");
    QTest::addColumn<CopyResult>("expected");
    const QByteArray scan("   9809\n1 2 3\r\n");
    QTest::newRow("new") << scan << int(NoTarget) << QByteArray() << CopyResult::Copied;
    QTest::newRow("empty source") << QByteArray("") << int(NoTarget) << QByteArray()
                                  << CopyResult::Copied;
    QTest::newRow("same bytes") << scan << int(OldFile) << scan << CopyResult::Kept;
    QTest::newRow("same size") << scan << int(OldFile) << QByteArray(scan).replace('1', '7')
                               << CopyResult::Copied;
    QTest::newRow("longer old") << scan << int(OldFile) << scan + "4 5 6\n" << CopyResult::Copied;
    QTest::newRow("empty over old") << QByteArray("") << int(OldFile) << scan << CopyResult::Copied;
    QTest::newRow("no source") << QByteArray() << int(OldFile) << scan << CopyResult::NoSource;
    QTest::newRow("folder in the way") << scan << int(Folder) << QByteArray() << CopyResult::Failed;
    QTest::newRow("no folder") << scan << int(MissingFolder) << QByteArray() << CopyResult::Failed;
}

void TestAtomicWrite::copyIfChanged()
{
    QFETCH(QByteArray, source);
    QFETCH(int, target);
    QFETCH(QByteArray, old);
    QFETCH(CopyResult, expected);
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    const QString sourcePath = dir.filePath(QStringLiteral("scan.dat"));
    if (!source.isNull()) {
        QFile f(sourcePath);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(source) == source.size());
    }
    QVERIFY(dir.mkdir(QStringLiteral("work")));
    const QString targetPath =
        dir.filePath(target == MissingFolder ? QStringLiteral("gone/copy.dat")
                                             : QStringLiteral("work/copy.dat"));
    // A replaced copy keeps its own permissions; a new one gets QSaveFile's.
    QFileDevice::Permissions own;
    if (target == OldFile) {
        QFile f(targetPath);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(old) == old.size());
        QVERIFY(f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        own = f.permissions();
    } else if (target == Folder) {
        QVERIFY(dir.mkpath(QStringLiteral("work/copy.dat/inside")));
    }
    QSaveFile reference(dir.filePath(QStringLiteral("work/reference")));
    QVERIFY(reference.open(QIODevice::WriteOnly) && reference.commit());
    const QStringList entriesBefore = QDir(dir.filePath(QStringLiteral("work"))).entryList();

    QString why;
    QCOMPARE(::copyIfChanged(sourcePath, targetPath, &why), expected);
    QCOMPARE(why.isEmpty(), expected != CopyResult::Failed);

    const QStringList entriesAfter = QDir(dir.filePath(QStringLiteral("work"))).entryList();
    QStringList expectedEntries = entriesBefore;
    if (target == NoTarget && expected == CopyResult::Copied)
        expectedEntries = QStringList(entriesBefore) << QStringLiteral("copy.dat");
    expectedEntries.sort();
    QCOMPARE(entriesAfter, expectedEntries); // no temporary file left behind
    if (target == Folder)
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("work/copy.dat/inside"))).isDir());
    if (target == OldFile || expected == CopyResult::Copied) {
        QCOMPARE(readBytes(targetPath), expected == CopyResult::Copied ? source : old);
        QCOMPARE(QFile::permissions(targetPath),
                 target == OldFile ? own : QFile::permissions(reference.fileName()));
    }
}

QTEST_APPLESS_MAIN(TestAtomicWrite)
#include "TestAtomicWrite.moc"

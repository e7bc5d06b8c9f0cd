// metadata.yml from template lines, common rows and a data set's values.

#include "data/DataSet.h"
#include "template/MetaTemplate.h"
#include "template/Render.h"

#include <QTemporaryDir>
#include <QtTest>

#include "TestSupport.h"

using MetaMap = QMap<QString, QString>;
using Lines = QVector<TplLine>;
Q_DECLARE_METATYPE(MetaMap)
Q_DECLARE_METATYPE(Lines)
Q_DECLARE_METATYPE(CommonValues)

namespace {

TplLine valued(const QString &ymlKey, const QString &id, int type = Input, bool literal = false,
               const QStringList &pids = {})
{
    TplLine line;
    line.ymlKey = ymlKey;
    line.id = id;
    line.types = {type};
    line.literal = literal;
    line.pids = pids;
    return line;
}

TplLine section(const QString &ymlKey)
{
    TplLine line;
    line.ymlKey = ymlKey;
    line.types = {Other};
    return line;
}

TplLine directive(const QString &word, const QString &blockName, const QString &id = QString())
{
    TplLine line;
    line.isMeta = true;
    line.ymlKey = word;
    line.blockName = blockName;
    line.id = id;
    line.types = {SemiFix};
    return line;
}

CommonValues rows(const QStringList &idValuePairs)
{
    CommonValues common;
    for (int i = 0; i + 1 < idValuePairs.size(); i += 2)
        common.append({idValuePairs.at(i), idValuePairs.at(i + 1)});
    return common;
}

MetaMap metaOf(const QStringList &keyValuePairs)
{
    MetaMap meta;
    for (int i = 0; i + 1 < keyValuePairs.size(); i += 2)
        meta.insert(keyValuePairs.at(i), keyValuePairs.at(i + 1));
    return meta;
}

MetaTemplate templateOf(const Lines &lines)
{
    MetaTemplate tpl;
    tpl.lines = lines;
    return tpl;
}

// A block "blk" switched by BLK_001 around one valued line, then a line after it.
Lines blockAround()
{
    return {directive("block_start", "blk", "BLK_001"), valued("  inner:", "IN_001"),
            directive("block_end", "blk"), valued("after:", "AF_001")};
}

} // namespace

class TestRender : public QObject
{
    Q_OBJECT
private slots:
    void render_data();
    void render();
    void writeFile();
};

// clang-format off
void TestRender::render_data()
{
    QTest::addColumn<Lines>("lines");
    QTest::addColumn<CommonValues>("common");
    QTest::addColumn<MetaMap>("meta");
    QTest::addColumn<QString>("expected");

    const QString pad12 = QString(12, QLatin1Char(' '));
    const Lines one = {valued("  value:", "SMPL_003")};

    QTest::newRow("key padded to 20 then one blank") << one << CommonValues() << metaOf({"SMPL_003", "12.5"}) << "  value:" + pad12 + " 12.5\n";
    QTest::newRow("key of 20 characters") << Lines{valued("twenty_characters_k:", "K")} << CommonValues() << metaOf({"K", "v"}) << "twenty_characters_k: v\n";
    QTest::newRow("long key unpadded") << Lines{valued("    - a_rather_long_key_name:", "K")} << CommonValues() << metaOf({"K", "v"}) << "    - a_rather_long_key_name: v\n";
    QTest::newRow("no value anywhere") << one << CommonValues() << MetaMap() << "";
    QTest::newRow("common value") << one << rows({"SMPL_003", "c"}) << MetaMap() << "  value:" + pad12 + " c\n";
    QTest::newRow("first common row without -- wins") << one << rows({"SMPL_003", "--", "OTHER", "x", "SMPL_003", "c2", "SMPL_003", "c3"}) << MetaMap() << "  value:" + pad12 + " c2\n";
    QTest::newRow("only -- rows") << one << rows({"SMPL_003", "--"}) << MetaMap() << "";
    QTest::newRow("own value beats common") << one << rows({"SMPL_003", "c"}) << metaOf({"SMPL_003", "own"}) << "  value:" + pad12 + " own\n";
    QTest::newRow("own -- leaves common") << one << rows({"SMPL_003", "c"}) << metaOf({"SMPL_003", "--"}) << "  value:" + pad12 + " c\n";
    QTest::newRow("own -- and no common") << one << CommonValues() << metaOf({"SMPL_003", "--"}) << "";
    QTest::newRow("own no-value marker empties") << one << rows({"SMPL_003", "c"}) << metaOf({"SMPL_003", "--NO_VALUE--"}) << "  value:" + pad12 + " \n";
    QTest::newRow("input held empty beats common") << one << rows({"SMPL_003", "c"}) << metaOf({"SMPL_003", ""}) << "  value:" + pad12 + " \n";
    QTest::newRow("literal quoted") << Lines{valued("name:", "N", Input, true)} << CommonValues() << metaOf({"N", "abc"}) << "name:" + QString(15, ' ') + " \"abc\"\n";
    QTest::newRow("value needing quotes") << Lines{valued("note:", "N")} << CommonValues() << metaOf({"N", "a: b"}) << "note:" + QString(15, ' ') + " \"a: b\"\n";
    QTest::newRow("pid without value") << Lines{valued("unit:", "U", Input, false, {"P"})} << CommonValues() << metaOf({"U", "eV"}) << "";
    QTest::newRow("pid with value") << Lines{valued("unit:", "U", Input, false, {"P"})} << rows({"P", "1"}) << metaOf({"U", "eV"}) << "unit:" + QString(15, ' ') + " eV\n";
    QTest::newRow("second pid without value") << Lines{valued("unit:", "U", Input, false, {"P", "Q"})} << rows({"P", "1"}) << metaOf({"U", "eV", "Q", "--"}) << "";
    QTest::newRow("pid set empty counts as value") << Lines{valued("unit:", "U", Input, false, {"P"})} << CommonValues() << metaOf({"U", "eV", "P", ""}) << "unit:" + QString(15, ' ') + " eV\n";
    QTest::newRow("section header unpadded") << Lines{section("sample:"), valued("  name:", "N")} << CommonValues() << metaOf({"N", "Cu"}) << "sample:\n  name:" + QString(13, ' ') + " Cu\n";
    TplLine head = section("head:");
    head.id = "H";
    QTest::newRow("section header with id and value still bare") << Lines{head} << CommonValues() << metaOf({"H", "v"}) << "head:\n";
    QTest::newRow("semi_fix from common") << Lines{valued("facility:", "FACI_001", SemiFix)} << rows({"FACI_001", "PF"}) << MetaMap() << "facility:" + QString(11, ' ') + " PF\n";

    const QString inner = "  inner:" + pad12 + " i\n";
    const QString after = "after:" + QString(14, ' ') + " a\n";
    const MetaMap values = metaOf({"IN_001", "i", "AF_001", "a"});
    QTest::newRow("block 1") << blockAround() << rows({"BLK_001", "1"}) << values << inner + after;
    QTest::newRow("block 2") << blockAround() << rows({"BLK_001", "2"}) << values << inner + after;
    QTest::newRow("block 0") << blockAround() << rows({"BLK_001", "0"}) << values << after;
    QTest::newRow("block empty") << blockAround() << CommonValues() << metaOf({"IN_001", "i", "AF_001", "a", "BLK_001", ""}) << after;
    QTest::newRow("block --") << blockAround() << rows({"BLK_001", "--"}) << values << after;
    QTest::newRow("block without value") << blockAround() << CommonValues() << values << after;
    QTest::newRow("block not a number") << blockAround() << rows({"BLK_001", "yes"}) << values << after;
    QTest::newRow("block own value beats common") << blockAround() << rows({"BLK_001", "1"}) << metaOf({"IN_001", "i", "AF_001", "a", "BLK_001", "0"}) << after;

    const Lines nested = {directive("block_start", "outer", "B1"), valued("a:", "A"),
                          directive("block_start", "inner", "B2"), valued("b:", "B"),
                          directive("block_end", "inner"),         valued("c:", "C"),
                          directive("block_end", "outer"),         valued("d:", "D")};
    const MetaMap abcd = metaOf({"A", "1", "B", "2", "C", "3", "D", "4"});
    const QString a = "a:" + QString(18, ' ') + " 1\n";
    const QString b = "b:" + QString(18, ' ') + " 2\n";
    const QString c = "c:" + QString(18, ' ') + " 3\n";
    const QString d = "d:" + QString(18, ' ') + " 4\n";
    QTest::newRow("nested both on") << nested << rows({"B1", "1", "B2", "1"}) << abcd << a + b + c + d;
    QTest::newRow("nested inner off") << nested << rows({"B1", "1", "B2", "0"}) << abcd << a + c + d;
    QTest::newRow("nested outer off skips inner too") << nested << rows({"B1", "0", "B2", "1"}) << abcd << d;
    QTest::newRow("skip ends at first end of the same name") << Lines{directive("block_start", "x", "B1"), valued("a:", "A"), directive("block_start", "x", "B2"), valued("b:", "B"), directive("block_end", "x"),         valued("c:", "C"), directive("block_end", "x"),         valued("d:", "D")} << rows({"B1", "0", "B2", "1"}) << abcd << c + d;
    QTest::newRow("unterminated block skips the rest") << Lines{valued("a:", "A"), directive("block_start", "open", "B1"), valued("b:", "B"), directive("block_end", "other"), valued("c:", "C")} << rows({"B1", "0"}) << abcd << a;
    QTest::newRow("unterminated block on renders the rest") << Lines{directive("block_start", "open", "B1"), valued("b:", "B")} << rows({"B1", "1"}) << abcd << b;
    QTest::newRow("stray end and other directive write nothing") << Lines{directive("block_end", "x"), directive("comment", "x", "A"), valued("a:", "A")} << CommonValues() << abcd << a;
    QTest::newRow("empty template") << Lines() << rows({"A", "1"}) << abcd << "";
}
// clang-format on

void TestRender::render()
{
    QFETCH(Lines, lines);
    QFETCH(CommonValues, common);
    QFETCH(MetaMap, meta);
    QFETCH(QString, expected);

    DataSet dataSet;
    dataSet.meta = meta;
    QCOMPARE(renderMetadata(templateOf(lines), common, dataSet), expected);
}

// Written whole over an older, longer file; a path under a plain file fails
// and leaves that file alone.
void TestRender::writeFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("metadata.yml"), file = dir.filePath("plain");
    QVERIFY(writeTextFile(path, "old content that is longer than the new one\n"));
    QVERIFY(writeTextFile(file, "x"));
    DataSet dataSet;
    dataSet.meta = metaOf({"N", "Cu foil"});
    const MetaTemplate tpl = templateOf({section("sample:"), valued("  name:", "N")});
    QString why;
    QVERIFY2(writeMetadataFile(path, tpl, CommonValues(), dataSet, &why), qPrintable(why));
    QCOMPARE(readBytes(path), QByteArray("sample:\n  name:              Cu foil\n"));
    QVERIFY(!writeMetadataFile(file + "/metadata.yml", tpl, CommonValues(), dataSet, &why));
    QVERIFY(!why.isEmpty());
    QCOMPARE(readBytes(file), QByteArray("x"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), (QStringList{"metadata.yml", "plain"}));
}

QTEST_GUILESS_MAIN(TestRender)
#include "TestRender.moc"

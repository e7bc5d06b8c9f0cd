// metadata.yml from a template, common rows and a data set's values.

#include "data/DataSet.h"
#include "template/MetaTemplate.h"
#include "template/Render.h"

#include "TestSupport.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

// "id=value,..." as common rows; into a data set's own values when one is given.
CommonValues pairs(const QString &text, DataSet *dataSet = nullptr)
{
    CommonValues common;
    for (const QString &pair : text.split(',', Qt::SkipEmptyParts)) {
        common.append({pair.section('=', 0, 0), pair.section('=', 1)});
        if (dataSet)
            dataSet->meta.insert(common.last().id, common.last().value);
    }
    return common;
}

QString yml(const QString &key, const QString &value)
{
    return key + QString(qMax(0, 20 - key.size()), ' ') + ' ' + value + '\n';
}

} // namespace

class TestRender : public QObject
{
    Q_OBJECT
private slots:
    void render_data();
    void render();
    void value_data();
    void value();
    void writeFile();
};

// clang-format off
void TestRender::render_data()
{
    QTest::addColumn<QString>("tpl");
    QTest::addColumn<QString>("common");
    QTest::addColumn<QString>("meta");
    QTest::addColumn<QString>("expected");

    const QString v = "  v: V na\n", e = " na \"\" \"\" \"\" ";
    QTest::newRow("key padded to 20, a blank; long key unpadded") << v + "    - a_rather_long_key_name: K na" << "" << "V=12.5,K=x" << "  v:                 12.5\n    - a_rather_long_key_name: x\n";
    QTest::newRow("first common row without -- wins") << v << "V=--,O=x,V=c2,V=c3" << "" << yml("  v:", "c2");
    QTest::newRow("own value beats common") << v << "V=c" << "V=own" << yml("  v:", "own");
    QTest::newRow("own -- leaves common") << v << "V=c" << "V=--" << yml("  v:", "c");
    QTest::newRow("only --") << v << "V=--" << "V=--" << "";
    QTest::newRow("own no-value marker") << v << "V=c" << "V=--NO_VALUE--" << yml("  v:", "");
    QTest::newRow("own empty beats common") << v << "V=c" << "V=" << yml("  v:", "");
    QTest::newRow("literal") << "n: N" + e + "LITERAL" << "" << "N=abc" << yml("n:", "\"abc\"");
    QTest::newRow("every parent id needs a value") << "a: A" + e + "PID=P\nb: B" + e + "PID=R PID=Q\nc: C" + e + "PID=S" << "R=1" << "A=1,B=2,Q=--,C=3,S=" << yml("c:", "3");
    QTest::newRow("section header bare") << "head: H\n  n: N na" << "" << "H=v,N=Cu" << "head:\n" + yml("  n:", "Cu");

    const QString block = "::block_start %1 %2 na\n%1: X na\n::block_end %1\n";
    QTest::newRow("block 2") << block.arg("a", "A") << "A=2" << "X=x" << yml("a:", "x");
    QTest::newRow("block 0, without value, not a number") << block.arg("a", "A") + block.arg("b", "B") + block.arg("c", "C") + "d: D na" << "A=0,C=yes" << "X=x,D=4" << yml("d:", "4");

    const QString abcd = "A=1,B=2,C=3,D=4", nested = "::block_start %1 B1 na\na: A na\n::block_start %2 B2 na\nb: B na\n::block_end %2\nc: C na\n::block_end %1\nd: D na\n";
    QTest::newRow("outer off skips inner") << nested.arg("o", "i") << "B1=0,B2=1" << abcd << yml("d:", "4");
    QTest::newRow("skip ends at first end of the name") << nested.arg("x", "x") << "B1=0,B2=1" << abcd << yml("c:", "3") + yml("d:", "4");
    QTest::newRow("unterminated block skips the rest") << "a: A na\n::block_start o B1 na\nb: B na\n::block_end x\nc: C na" << "B1=0" << abcd << yml("a:", "1");
}
// clang-format on

void TestRender::render()
{
    QFETCH(QString, tpl);
    QFETCH(QString, common);
    QFETCH(QString, meta);
    MetaTemplate metaTemplate;
    DebugCapture quiet;
    loadTemplateText(metaTemplate, tpl);
    DataSet dataSet;
    pairs(meta, &dataSet);
    QTEST(renderMetadata(metaTemplate, pairs(common), dataSet.meta), "expected");
}

// clang-format off
void TestRender::value_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("literal");
    QTest::addColumn<QString>("expected");

    // A value must read back as the same text: values a YAML reader would
    // take apart are quoted, every other value stays bare.
    QTest::newRow("empty") << "" << false << "";
    QTest::newRow("hash in a word") << "C#" << false << "C#";
    QTest::newRow("dash then digit") << "-5" << false << "-5";
    QTest::newRow("line breaks") << "a\rb\nc" << false << "\"a\\rb\\nc\"";
    QTest::newRow("leading blank") << " a" << false << "\" a\"";
    QTest::newRow("trailing tab") << "a\t" << false << "\"a\t\"";
    QTest::newRow("inner tab") << "a\tb" << false << "\"a\tb\"";
    QTest::newRow("colon blank") << "k: v" << false << "\"k: v\"";
    QTest::newRow("blank hash") << "a #b" << false << "\"a #b\"";
    QTest::newRow("ends with colon") << "a:" << false << "\"a:\"";
    QTest::newRow("quotes escaped") << "\"x\"" << false << "\"\\\"x\\\"\"";
    QTest::newRow("dash blank") << "- a" << false << "\"- a\"";
    QTest::newRow("lone question") << "?" << false << "\"?\"";
    QTest::newRow("literal backslash") << "a\\b" << true << "\"a\\\\b\"";
    QTest::newRow("literal empty") << "" << true << "\"\"";
}
// clang-format on

void TestRender::value()
{
    QFETCH(QString, value);
    QFETCH(bool, literal);
    QTEST(yamlValue(value, literal), "expected");
}

// Written whole over an older, longer file; a path under a plain file fails,
// leaves that file alone and no temporary file behind.
void TestRender::writeFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("metadata.yml"), file = dir.filePath("plain");
    QVERIFY(writeTextFile(path, "old content that is longer than the new one\n"));
    QVERIFY(writeTextFile(file, "x"));
    MetaTemplate tpl;
    loadTemplateText(tpl, "sample:\n  name: N na\n");
    DataSet dataSet;
    pairs("N=Cu foil", &dataSet);
    QString why;
    QVERIFY2(writeMetadataFile(path, tpl, {}, dataSet.meta, &why), qPrintable(why));
    QCOMPARE(readBytes(path), QByteArray("sample:\n  name:              Cu foil\n"));
    QVERIFY(!writeMetadataFile(file + "/metadata.yml", tpl, {}, dataSet.meta, &why));
    QVERIFY(!why.isEmpty());
    QCOMPARE(readBytes(file), QByteArray("x"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), (QStringList{"metadata.yml", "plain"}));
}

QTEST_GUILESS_MAIN(TestRender)
#include "TestRender.moc"

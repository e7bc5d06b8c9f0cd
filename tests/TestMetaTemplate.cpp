#include "template/MetaTemplate.h"

#include "TestSupport.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

// Each kept line as "key|id|default|comment|block|flags|pids|types > classes",
// flags m (directive), f (flag item) and l (LITERAL), classes the type codes of
// the index lists that hold the line.
QStringList describeAll(const MetaTemplate &tpl)
{
    const QList<int> *lists[] = {&tpl.inputIdx, &tpl.semiFixIdx, &tpl.fromDataIdx, &tpl.naIdx,
                                 &tpl.otherIdx};
    QStringList out;
    for (int i = 0; i < tpl.lines.size(); ++i) {
        const TplLine &l = tpl.lines.at(i);
        QString flags = QString(l.isMeta ? "m" : "") + (l.flag ? "f" : "") + (l.literal ? "l" : "");
        QString classes;
        for (int k = 0; k < 5; ++k)
            if (lists[k]->contains(i))
                classes += QString::number(k);
        out << QStringList{l.ymlKey,    l.id,  l.defValue,       l.comm,
                           l.blockName, flags, l.pids.join(','), l.typesText()}
                       .join('|') +
                   " > " + classes;
    }
    return out;
}

} // namespace

class TestMetaTemplate : public QObject
{
    Q_OBJECT
private slots:
    void load_data();
    void load();
    void files();
};

// clang-format off
void TestMetaTemplate::load_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("records");

    QTest::newRow("keys") << "sample:\n  name:   INFO_011  from_data  \"def val\"  y  \"a comment\"\n    - email:   PERS_003  semi_fix  \"\"  \"\"  \"mail\"\n  -key: ID_2 na\n  -  \n   \nk:\tID_3\tinput\n"
        << QStringList{"sample:|||||||other > 4", "  name:|INFO_011|def val|a comment||f||from_data > 2", "    - email:|PERS_003||mail||||semi_fix > 1", "  -key:|ID_2||||||na > 3", "  -  |||||||other > 4", "   |||||||other > 4", "k:|ID_3||||||input > 0"};
    QTest::newRow("types") << "a: A semi_fix/input\nb: B from_data/semi_fix\nc: C na/from_data\nd: D Input//na/\n"
        << QStringList{"a:|A||||||semi_fix/input > 0", "b:|B||||||from_data/semi_fix > 1", "c:|C||||||na/from_data > 2", "d:|D||||||other/other/na/other > 3"};
    QTest::newRow("trailing words, comments") << "a: A input \"\" \"\" \"\" Literal PID=A_1 pid=\"B_2\" Pid=C\nb: B na d f c PIDX=1 LITERALS PI=x\nc: C input d # f c LITERAL\nd: D input \"a#b\" \"\" \"c # d\"\ne: E input it's #x\n"
        << QStringList{"a:|A||||l|A_1,B_2,C|input > 0", "b:|B|d|c||f||na > 3", "c:|C|d|||||input > 0", "d:|D|a#b|c # d||||input > 0", "e:|E|it's|||f||input > 0"};
    QTest::newRow("directive, comment lines") << "#::block_start  blk  B_1  input  \"1 2\"  f  \"c\"  PID=Q_1 Literal\n# c\n#\n    # k: ID_1 input\n  #::block_start b ID_1 input\n\t# c\n\n"
        << QStringList{"block_start|B_1|1 2|c|blk|mfl|Q_1|input > 0"};
    QTest::newRow("yaml value where the key belongs") << "title: Hello world # note\nk: ID_1 fixed/other\n"
        << QStringList{"title:|Hello||||||other > 4", "k:|ID_1||||||other/other > 4"};
    QTest::newRow("same ids") << "a: ID_1 input\nb: \"\" na\nc: ID_1 semi_fix \"v\" x \"cm\"\nd: \"\" na\n"
        << QStringList{"a:|ID_1||||||input > 0", "b:|||||||na > 3", "c:|ID_1|v|cm||f||semi_fix > 1", "d:|||||||na > 3"};
}
// clang-format on

void TestMetaTemplate::load()
{
    QFETCH(QString, text);
    MetaTemplate tpl;
    DebugCapture quiet;
    loadTemplateText(tpl, text);
    QTEST(describeAll(tpl), "records");
}

// Neither a missing file nor a folder is a template.
void TestMetaTemplate::files()
{
    MetaTemplate tpl, none;
    DebugCapture quiet;
    QVERIFY(tpl.load(testDataPath("template-sample.yml")));
    QCOMPARE(tpl.semiFixIdx, QList<int>({0, 3}));
    QTemporaryDir dir;
    QVERIFY(!none.load(dir.filePath("absent.yml")) && !none.load(dir.path()));
    QVERIFY(none.lines.isEmpty());
}

QTEST_GUILESS_MAIN(TestMetaTemplate)
#include "TestMetaTemplate.moc"

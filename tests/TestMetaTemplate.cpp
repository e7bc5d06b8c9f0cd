#include "template/MetaTemplate.h"

#include "TestSupport.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

// The fields of a record that differ from a new one, its type codes, then the
// index lists it was classed into.
QString describe(const MetaTemplate &tpl, int index)
{
    const TplLine &l = tpl.lines.at(index);
    QStringList parts;
    if (l.isMeta)
        parts << "meta";
    parts << "yml=[" + l.ymlKey + "]";
    const QList<QPair<QString, QString>> texts{
        {"id", l.id}, {"def", l.defValue}, {"comm", l.comm}, {"block", l.blockName}};
    for (const auto &t : texts)
        if (!t.second.isEmpty())
            parts << t.first + "=[" + t.second + "]";
    if (l.flag)
        parts << "flag";
    if (l.literal)
        parts << "literal";
    if (!l.pids.isEmpty())
        parts << "pids=[" + l.pids.join(',') + "]";
    QStringList codes;
    for (int t : l.types)
        codes << QString::number(t);
    parts << "types=" + codes.join(',');
    const QList<QPair<QString, const QList<int> *>> lists{{"input", &tpl.inputIdx},
                                                          {"semi_fix", &tpl.semiFixIdx},
                                                          {"from_data", &tpl.fromDataIdx},
                                                          {"na", &tpl.naIdx},
                                                          {"other", &tpl.otherIdx}};
    QStringList classes;
    for (const auto &list : lists)
        if (list.second->contains(index))
            classes << list.first;
    return parts.join(' ') + " : " + classes.join(',');
}

QStringList describeAll(const MetaTemplate &tpl)
{
    QStringList out;
    for (int i = 0; i < tpl.lines.size(); ++i)
        out << describe(tpl, i);
    return out;
}

const QString a1 = "TplLine \"a:\" \"ID_1\" \"\" false \"\" \"\" Types QVector(0)";
const QString c1 = "TplLine \"c:\" \"ID_1\" \"v\" true \"cm\" \"\" Types QVector(1)";
const QString f1 = "TplLine \"f:\" \"ID_1\" \"\" false \"\" \"\" Types QVector(2)";

} // namespace

class TestMetaTemplate : public QObject
{
    Q_OBJECT
private slots:
    void load_data();
    void load();
    void typesText_data();
    void typesText();
    void files();
};

// clang-format off
void TestMetaTemplate::load_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("records"); // describe() of every kept line
    QTest::addColumn<QStringList>("debug");   // {"*"}: not checked

    const QStringList any{"*"};
    QTest::newRow("key only") << "sample:\n" << QStringList{"yml=[sample:] types=4 : other"} << QStringList{};
    QTest::newRow("full ordinary line") << "  name:   INFO_011  from_data  \"def val\"  y  \"a comment\"\n" << QStringList{"yml=[  name:] id=[INFO_011] def=[def val] comm=[a comment] flag types=2 : from_data"} << any;
    QTest::newRow("indented list entry") << "    - email:   PERS_003  semi_fix  \"\"  \"\"  \"mail\"\n" << QStringList{"yml=[    - email:] id=[PERS_003] comm=[mail] types=1 : semi_fix"} << any;
    QTest::newRow("list entry without blank") << "  -key: ID_1 na\n" << QStringList{"yml=[  -key:] id=[ID_1] types=3 : na"} << any;
    QTest::newRow("dash only") << "  -  \n" << QStringList{"yml=[  -  ] types=4 : other"} << any;
    QTest::newRow("tab separated") << "k:\tID_1\tinput\n" << QStringList{"yml=[k:] id=[ID_1] types=0 : input"} << any;
    QTest::newRow("key then blanks") << "section:   \n" << QStringList{"yml=[section:] types=4 : other"} << any;
    QTest::newRow("empty quoted items") << "k: \"\" input \"\" \"\" \"\"\n" << QStringList{"yml=[k:] types=0 : input"} << any;
    QTest::newRow("input/semi_fix") << "k: ID_1 input/semi_fix\n" << QStringList{"yml=[k:] id=[ID_1] types=0,1 : input"} << any;
    QTest::newRow("semi_fix/input") << "k: ID_1 semi_fix/input\n" << QStringList{"yml=[k:] id=[ID_1] types=1,0 : input"} << any;
    QTest::newRow("from_data/semi_fix") << "k: ID_1 from_data/semi_fix\n" << QStringList{"yml=[k:] id=[ID_1] types=2,1 : semi_fix"} << any;
    QTest::newRow("na/from_data") << "k: ID_1 na/from_data\n" << QStringList{"yml=[k:] id=[ID_1] types=3,2 : from_data"} << any;
    QTest::newRow("Input in another case") << "k: ID_1 Input\n" << QStringList{"yml=[k:] id=[ID_1] types=4 : other"} << any;
    QTest::newRow("empty parts of the type") << "k: ID_1 input//na/\n" << QStringList{"yml=[k:] id=[ID_1] types=0,4,3,4 : input"} << any;
    QTest::newRow("trailing words any case") << "k: ID_1 input \"\" \"\" \"\" LITERAL PID=A_1 pid=\"B_2\" Pid=C\n" << QStringList{"yml=[k:] id=[ID_1] literal pids=[A_1,B_2,C] types=0 : input"} << any;
    QTest::newRow("literal lower case") << "k: ID_1 semi_fix d f c literal\n" << QStringList{"yml=[k:] id=[ID_1] def=[d] comm=[c] flag literal types=1 : semi_fix"} << any;
    QTest::newRow("other trailing words") << "k: ID_1 na d f c PIDX=1 LITERALS PI=x\n" << QStringList{"yml=[k:] id=[ID_1] def=[d] comm=[c] flag types=3 : na"} << any;
    QTest::newRow("comment cut") << "k: ID_1 input d # f c LITERAL\n" << QStringList{"yml=[k:] id=[ID_1] def=[d] types=0 : input"} << any;
    QTest::newRow("hash in double quotes") << "k: ID_1 input \"a#b\" \"\" \"c # d\"\n" << QStringList{"yml=[k:] id=[ID_1] def=[a#b] comm=[c # d] types=0 : input"} << any;
    QTest::newRow("apostrophe hides hash") << "k: ID_1 input it's #x\n" << QStringList{"yml=[k:] id=[ID_1] def=[it's] flag types=0 : input"} << any;
    QTest::newRow("directive") << "::block_start blk1 BLK_001 semi_fix 1 f \"block comment\" LITERAL PID=X_1\n" << QStringList{"meta yml=[block_start] id=[BLK_001] def=[1] comm=[block comment] block=[blk1] flag literal pids=[X_1] types=1 : semi_fix"} << any;
    QTest::newRow("hidden directive same as directive") << "#::block_start  blk  BLK_001  input  \"1 2\"  f  \"c\"  PID=Q_1 Literal\n" << QStringList{"meta yml=[block_start] id=[BLK_001] def=[1 2] comm=[c] block=[blk] flag literal pids=[Q_1] types=0 : input"} << any;
    QTest::newRow("directive word only") << "::stop\n" << QStringList{"meta yml=[stop] types=4 : other"} << any;
    QTest::newRow("yaml value where the key belongs") << "title: Hello world\n" << QStringList{"yml=[title:] id=[Hello] types=4 : other"} << any;
    QTest::newRow("comment line") << "# comment\n" << QStringList{} << QStringList{};
    QTest::newRow("hash alone") << "#\n" << QStringList{} << QStringList{};
    QTest::newRow("indented comment") << "    # comment: ID_1 input\n" << QStringList{} << QStringList{};
    QTest::newRow("indented directive is a comment") << "  #::block_start b ID_1 input\n" << QStringList{} << QStringList{};
    QTest::newRow("tab before comment") << "\t# comment\n" << QStringList{} << QStringList{};
    QTest::newRow("empty line") << "\n" << QStringList{} << QStringList{};
    QTest::newRow("line of blanks stays") << "   \n" << QStringList{"yml=[   ] types=4 : other"} << any;
    QTest::newRow("mixed") << "a:\n\n# c\n  b:\n  \n  # d\n" << QStringList{"yml=[a:] types=4 : other", "yml=[  b:] types=4 : other", "yml=[  ] types=4 : other"} << any;
    QTest::newRow("last line without line end") << "a:\nb:" << QStringList{"yml=[a:] types=4 : other", "yml=[b:] types=4 : other"} << any;
    QTest::newRow("dump of a directive") << "::block_start blk BLK_001 input 1\n" << QStringList{"meta yml=[block_start] id=[BLK_001] def=[1] block=[blk] types=0 : input"} << QStringList{"TplLine \"block_start\" \"BLK_001\" \"1\" false \"\" \"META\" Types QVector(0)"};
    QTest::newRow("dump without id") << "#::block_end blk\n" << QStringList{"meta yml=[block_end] block=[blk] types=4 : other"} << QStringList{"TplLine \"block_end\" \"\" \"\" false \"\" \"META\" Types QVector(4)"};
    QTest::newRow("dump tagged with the line") << "title: Hello world # note\n" << QStringList{"yml=[title:] id=[Hello] types=4 : other"} << QStringList{"TplLine \"title:\" \"Hello\" \"\" false \"\" \"title: Hello world \" Types QVector(4)"};
    QTest::newRow("dump of unknown type") << "k: ID_1 fixed\n" << QStringList{"yml=[k:] id=[ID_1] types=4 : other"} << QStringList{"TplLine \"k:\" \"ID_1\" \"\" false \"\" \"k: ID_1 fixed\" Types QVector(4)"};
    QTest::newRow("two type words not dumped") << "k: ID_1 fixed/other\n" << QStringList{"yml=[k:] id=[ID_1] types=4,4 : other"} << QStringList{};
    QTest::newRow("known type not dumped") << "k: ID_1 na\n" << QStringList{"yml=[k:] id=[ID_1] types=3 : na"} << QStringList{};
    QTest::newRow("same ids") << "a: ID_1 input\nb: ID_2 na\nc: ID_1 semi_fix \"v\" x \"cm\"\nd: \"\" na\ne: \"\" na\nf: ID_1 from_data\n"
        << QStringList{"yml=[a:] id=[ID_1] types=0 : input", "yml=[b:] id=[ID_2] types=3 : na", "yml=[c:] id=[ID_1] def=[v] comm=[cm] flag types=1 : semi_fix", "yml=[d:] types=3 : na", "yml=[e:] types=3 : na", "yml=[f:] id=[ID_1] types=2 : from_data"}
        << QStringList{"same ids 0", a1, c1, "same ids 0", a1, f1, "same ids 2", c1, f1};
}
// clang-format on

void TestMetaTemplate::load()
{
    QFETCH(QString, text);
    QFETCH(QStringList, debug);
    MetaTemplate tpl;
    DebugCapture capture;
    loadTemplateText(tpl, text);
    QTEST(describeAll(tpl), "records");
    if (debug != QStringList{"*"})
        QCOMPARE(DebugCapture::lines(), debug);
}

// clang-format off
void TestMetaTemplate::typesText_data()
{
    QTest::addColumn<QVector<int>>("types");
    QTest::addColumn<QString>("text");
    QTest::newRow("input") << QVector<int>{Input} << "input";
    QTest::newRow("two") << QVector<int>{SemiFix, Input} << "semi_fix/input";
    QTest::newRow("three") << QVector<int>{FromData, Na, Other} << "from_data/na/other";
    QTest::newRow("unknown code") << QVector<int>{7, -1} << "other/other";
    QTest::newRow("none") << QVector<int>{} << "";
}
// clang-format on

void TestMetaTemplate::typesText()
{
    QFETCH(QVector<int>, types);
    TplLine line;
    line.types = types;
    QTEST(line.typesText(), "text");
}

void TestMetaTemplate::files()
{
    MetaTemplate tpl;
    DebugCapture quiet;
    QVERIFY(tpl.load(testDataPath("template-sample.yml")));
    QStringList keys;
    for (const TplLine &l : qAsConst(tpl.lines))
        keys << l.ymlKey;
    QCOMPARE(keys, QStringList({"block_start", "sample:", "  name:", "  formula:", "  date:",
                                "  keywords:", "    - word:", "block_end"}));
    QCOMPARE(tpl.semiFixIdx, QList<int>({0, 3}));
    QCOMPARE(tpl.naIdx, QList<int>({6, 7}));
    QCOMPARE(tpl.otherIdx, QList<int>({1, 5}));
    QVERIFY(tpl.lines.at(3).literal);
    // A second load appends: the lists are not cleared.
    QVERIFY(tpl.load(testDataPath("template-sample.yml")));
    QCOMPARE(tpl.lines.size(), 16);
    QCOMPARE(tpl.inputIdx, QList<int>({2, 10}));

    QTemporaryDir dir;
    MetaTemplate none;
    QVERIFY(!none.load(dir.filePath("absent.yml")));
    QVERIFY(!none.load(dir.path())); // a folder is not a template
    QVERIFY(none.lines.isEmpty() && none.otherIdx.isEmpty());
}

QTEST_GUILESS_MAIN(TestMetaTemplate)
#include "TestMetaTemplate.moc"

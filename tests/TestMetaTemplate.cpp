#include "template/MetaTemplate.h"

#include "TestSupport.h"

#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

namespace {

// Collects the debug lines written while it lives.
class DebugCapture
{
public:
    DebugCapture()
    {
        lines.clear();
        previous = qInstallMessageHandler(&DebugCapture::handle);
    }
    ~DebugCapture() { qInstallMessageHandler(previous); }
    static QStringList lines;

private:
    static void handle(QtMsgType, const QMessageLogContext &, const QString &msg) { lines << msg; }
    QtMessageHandler previous;
};
QStringList DebugCapture::lines;

void loadText(MetaTemplate &tpl, QString text)
{
    QTextStream in(&text, QIODevice::ReadOnly);
    tpl.load(in);
}

// The index list a record was classed into.
QString classOf(const MetaTemplate &tpl, int index)
{
    QStringList found;
    if (tpl.inputIdx.contains(index))
        found << "input";
    if (tpl.semiFixIdx.contains(index))
        found << "semi_fix";
    if (tpl.fromDataIdx.contains(index))
        found << "from_data";
    if (tpl.naIdx.contains(index))
        found << "na";
    if (tpl.otherIdx.contains(index))
        found << "other";
    return found.join(',');
}

// The fields of a record that differ from a new one, then its type codes.
QString describe(const TplLine &l)
{
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
    return parts.join(' ');
}

} // namespace

class TestMetaTemplate : public QObject
{
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void dropped_data();
    void dropped();
    void hiddenDirectiveEqualsDirective();
    void sameIds();
    void dumps_data();
    void dumps();
    void typesText_data();
    void typesText();
    void fromFile();
    void cannotOpen();
};

void TestMetaTemplate::parse_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("expected"); // describe() of the record
    QTest::addColumn<QString>("cls");

    QTest::newRow("key only") << "sample:"
                              << "yml=[sample:] types=4"
                              << "other";
    QTest::newRow("full ordinary line")
        << "  name:   INFO_011  from_data  \"def val\"  y  \"a comment\""
        << "yml=[  name:] id=[INFO_011] def=[def val] comm=[a comment] flag types=2"
        << "from_data";
    QTest::newRow("indented list entry")
        << "    - email:   PERS_003  semi_fix  \"\"  \"\"  \"mail\""
        << "yml=[    - email:] id=[PERS_003] comm=[mail] types=1"
        << "semi_fix";
    QTest::newRow("list entry without blank") << "  -key: ID_1 na"
                                              << "yml=[  -key:] id=[ID_1] types=3"
                                              << "na";
    QTest::newRow("dash only") << "  -  "
                               << "yml=[  -  ] types=4"
                               << "other";
    QTest::newRow("line of blanks") << "    "
                                    << "yml=[    ] types=4"
                                    << "other";
    QTest::newRow("tab separated") << "k:\tID_1\tinput"
                                   << "yml=[k:] id=[ID_1] types=0"
                                   << "input";
    QTest::newRow("key then blanks") << "section:   "
                                     << "yml=[section:] types=4"
                                     << "other";
    QTest::newRow("empty quoted items") << "k: \"\" input \"\" \"\" \"\""
                                        << "yml=[k:] types=0"
                                        << "input";
    QTest::newRow("input/semi_fix") << "k: ID_1 input/semi_fix"
                                    << "yml=[k:] id=[ID_1] types=0,1"
                                    << "input";
    QTest::newRow("semi_fix/input") << "k: ID_1 semi_fix/input"
                                    << "yml=[k:] id=[ID_1] types=1,0"
                                    << "input";
    QTest::newRow("from_data/semi_fix") << "k: ID_1 from_data/semi_fix"
                                        << "yml=[k:] id=[ID_1] types=2,1"
                                        << "semi_fix";
    QTest::newRow("na/from_data") << "k: ID_1 na/from_data"
                                  << "yml=[k:] id=[ID_1] types=3,2"
                                  << "from_data";
    QTest::newRow("Input in another case") << "k: ID_1 Input"
                                           << "yml=[k:] id=[ID_1] types=4"
                                           << "other";
    QTest::newRow("empty parts of the type") << "k: ID_1 input//na/"
                                             << "yml=[k:] id=[ID_1] types=0,4,3,4"
                                             << "input";
    QTest::newRow("trailing words in any case")
        << "k: ID_1 input \"\" \"\" \"\" LITERAL PID=A_1 pid=\"B_2\" Pid=C"
        << "yml=[k:] id=[ID_1] literal pids=[A_1,B_2,C] types=0"
        << "input";
    QTest::newRow("literal in lower case") << "k: ID_1 semi_fix d f c literal"
                                           << "yml=[k:] id=[ID_1] def=[d] comm=[c] flag literal "
                                              "types=1"
                                           << "semi_fix";
    QTest::newRow("other trailing words") << "k: ID_1 na d f c PIDX=1 LITERALS PI=x"
                                          << "yml=[k:] id=[ID_1] def=[d] comm=[c] flag types=3"
                                          << "na";
    QTest::newRow("comment cut") << "k: ID_1 input d # f c LITERAL"
                                 << "yml=[k:] id=[ID_1] def=[d] types=0"
                                 << "input";
    QTest::newRow("hash in double quotes") << "k: ID_1 input \"a#b\" \"\" \"c # d\""
                                           << "yml=[k:] id=[ID_1] def=[a#b] comm=[c # d] types=0"
                                           << "input";
    QTest::newRow("apostrophe hides later hash") << "k: ID_1 input it's #x"
                                                 << "yml=[k:] id=[ID_1] def=[it's] flag types=0"
                                                 << "input";
    QTest::newRow("directive")
        << "::block_start blk1 BLK_001 semi_fix 1 f \"block comment\" LITERAL PID=X_1"
        << "meta yml=[block_start] id=[BLK_001] def=[1] comm=[block comment] block=[blk1] flag "
           "literal pids=[X_1] types=1"
        << "semi_fix";
    QTest::newRow("hidden directive") << "#::block_end blk1 \"\" na"
                                      << "meta yml=[block_end] block=[blk1] types=3"
                                      << "na";
    QTest::newRow("directive word only") << "::stop"
                                         << "meta yml=[stop] types=4"
                                         << "other";
    QTest::newRow("yaml value where the key belongs") << "title: Hello world"
                                                      << "yml=[title:] id=[Hello] types=4"
                                                      << "other";
}

void TestMetaTemplate::parse()
{
    QFETCH(QString, line);
    MetaTemplate tpl;
    {
        DebugCapture quiet; // dumps are checked elsewhere
        loadText(tpl, line + "\n");
    }
    QCOMPARE(tpl.lines.size(), 1);
    QTEST(describe(tpl.lines.at(0)), "expected");
    QTEST(classOf(tpl, 0), "cls");
}

void TestMetaTemplate::dropped_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("kept"); // ymlKey of every kept line

    QTest::newRow("comment line") << "# comment\n" << QStringList{};
    QTest::newRow("hash alone") << "#\n" << QStringList{};
    QTest::newRow("indented comment") << "    # comment: ID_1 input\n" << QStringList{};
    QTest::newRow("indented directive is a comment") << "  #::block_start b ID_1 input\n"
                                                     << QStringList{};
    QTest::newRow("tab before comment") << "\t# comment\n" << QStringList{};
    QTest::newRow("empty line") << "\n" << QStringList{};
    QTest::newRow("line of blanks stays") << "   \n" << QStringList{"   "};
    QTest::newRow("hidden directive stays") << "#::x\n" << QStringList{"x"};
    QTest::newRow("mixed") << "a:\n\n# c\n  b:\n  \n  # d\n" << QStringList{"a:", "  b:", "  "};
    QTest::newRow("last line without line end") << "a:\nb:" << QStringList{"a:", "b:"};
}

void TestMetaTemplate::dropped()
{
    QFETCH(QString, text);
    MetaTemplate tpl;
    loadText(tpl, text);
    QStringList kept;
    for (const TplLine &l : qAsConst(tpl.lines))
        kept << l.ymlKey;
    QTEST(kept, "kept");
    QCOMPARE(tpl.otherIdx.size() + tpl.naIdx.size() + tpl.inputIdx.size(), kept.size());
}

void TestMetaTemplate::hiddenDirectiveEqualsDirective()
{
    MetaTemplate hidden, plain;
    {
        DebugCapture quiet;
        loadText(hidden,
                 "#::block_start  blk  BLK_001  input  \"1 2\"  f  \"c\"  PID=Q_1 Literal\n");
        loadText(plain, "::block_start  blk  BLK_001  input  \"1 2\"  f  \"c\"  PID=Q_1 Literal\n");
    }
    QCOMPARE(hidden.lines.size(), 1);
    QCOMPARE(plain.lines.size(), 1);
    const TplLine &a = hidden.lines.at(0), &b = plain.lines.at(0);
    QCOMPARE(describe(a), describe(b));
    QCOMPARE(a.types, QVector<int>{Input});
    QCOMPARE(hidden.inputIdx, QList<int>{0});
    QCOMPARE(plain.inputIdx, QList<int>{0});
}

void TestMetaTemplate::sameIds()
{
    MetaTemplate tpl;
    {
        DebugCapture capture;
        loadText(tpl, "a: ID_1 input\n"
                      "b: ID_2 na\n"
                      "c: ID_1 semi_fix \"v\" x \"cm\"\n"
                      "d: \"\" na\n"
                      "e: \"\" na\n"
                      "f: ID_1 from_data\n");
        const QStringList expected{
            "same ids 0",
            "TplLine \"a:\" \"ID_1\" \"\" false \"\" \"\" Types QVector(0)",
            "TplLine \"c:\" \"ID_1\" \"v\" true \"cm\" \"\" Types QVector(1)",
            "same ids 0",
            "TplLine \"a:\" \"ID_1\" \"\" false \"\" \"\" Types QVector(0)",
            "TplLine \"f:\" \"ID_1\" \"\" false \"\" \"\" Types QVector(2)",
            "same ids 2",
            "TplLine \"c:\" \"ID_1\" \"v\" true \"cm\" \"\" Types QVector(1)",
            "TplLine \"f:\" \"ID_1\" \"\" false \"\" \"\" Types QVector(2)",
        };
        QCOMPARE(DebugCapture::lines, expected);
    }
    // Every record stays, each classed once, in file order.
    QCOMPARE(tpl.lines.size(), 6);
    QCOMPARE(tpl.inputIdx, QList<int>{0});
    QCOMPARE(tpl.semiFixIdx, QList<int>{2});
    QCOMPARE(tpl.fromDataIdx, QList<int>{5});
    QCOMPARE(tpl.naIdx, QList<int>({1, 3, 4}));
    QVERIFY(tpl.otherIdx.isEmpty());
}

void TestMetaTemplate::dumps_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("directive") << "::block_start blk BLK_001 input 1\n"
                               << QStringList{
                                      "TplLine \"block_start\" \"BLK_001\" \"1\" false \"\" "
                                      "\"META\" Types QVector(0)"};
    QTest::newRow("directive without id") << "#::block_end blk\n"
                                          << QStringList{"TplLine \"block_end\" \"\" \"\" false "
                                                         "\"\" \"META\" Types QVector(4)"};
    QTest::newRow("plain value, tag is the line")
        << "title: Hello world # note\n"
        << QStringList{"TplLine \"title:\" \"Hello\" \"\" false \"\" \"title: Hello world \" "
                       "Types QVector(4)"};
    QTest::newRow("unknown type word") << "k: ID_1 fixed\n"
                                       << QStringList{"TplLine \"k:\" \"ID_1\" \"\" false \"\" "
                                                      "\"k: ID_1 fixed\" Types QVector(4)"};
    QTest::newRow("two type words are not dumped") << "k: ID_1 fixed/other\n" << QStringList{};
    QTest::newRow("known type") << "k: ID_1 na\n" << QStringList{};
    QTest::newRow("key only") << "k:\n" << QStringList{};
}

void TestMetaTemplate::dumps()
{
    QFETCH(QString, text);
    MetaTemplate tpl;
    DebugCapture capture;
    loadText(tpl, text);
    QTEST(DebugCapture::lines, "expected");
}

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

void TestMetaTemplate::typesText()
{
    QFETCH(QVector<int>, types);
    TplLine line;
    line.types = types;
    QTEST(line.typesText(), "text");
}

void TestMetaTemplate::fromFile()
{
    MetaTemplate tpl;
    {
        DebugCapture quiet;
        QVERIFY(tpl.load(testDataPath("template-sample.yml")));
    }
    QStringList keys;
    for (const TplLine &l : qAsConst(tpl.lines))
        keys << l.ymlKey;
    QCOMPARE(keys, QStringList({"block_start", "sample:", "  name:", "  formula:", "  date:",
                                "  keywords:", "    - word:", "block_end"}));
    QCOMPARE(tpl.inputIdx, QList<int>{2});
    QCOMPARE(tpl.semiFixIdx, QList<int>({0, 3}));
    QCOMPARE(tpl.fromDataIdx, QList<int>{4});
    QCOMPARE(tpl.naIdx, QList<int>({6, 7}));
    QCOMPARE(tpl.otherIdx, QList<int>({1, 5}));
    QVERIFY(tpl.lines.at(3).literal);
    QCOMPARE(tpl.lines.at(0).blockName, tpl.lines.at(7).blockName);

    // A second load appends: the lists are not cleared.
    {
        DebugCapture quiet;
        QVERIFY(tpl.load(testDataPath("template-sample.yml")));
    }
    QCOMPARE(tpl.lines.size(), 16);
    QCOMPARE(tpl.inputIdx, QList<int>({2, 10}));
}

void TestMetaTemplate::cannotOpen()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    MetaTemplate tpl;
    QVERIFY(!tpl.load(dir.filePath("absent.yml")));
    QVERIFY(!tpl.load(dir.path())); // a folder is not a template
    QVERIFY(tpl.lines.isEmpty());
    QVERIFY(tpl.otherIdx.isEmpty());
}

QTEST_GUILESS_MAIN(TestMetaTemplate)
#include "TestMetaTemplate.moc"

// The metadata template: its lines as loaded, and metadata.yml made from it,
// common rows and a data set's values.

#include "template/MetaTemplate.h"
#include "template/Render.h"

#include "TestSupport.h"

namespace {

// "id=value,..." as common rows.
CommonValues pairs(const QString &text)
{
    CommonValues common;
    for (const QString &pair : text.split(',', Qt::SkipEmptyParts))
        common.append({pair.section('=', 0, 0), pair.section('=', 1)});
    return common;
}

// metadata.yml from "key: value;...": each key padded to 20, a blank, the
// value; a key without a value is a section header.
QString yml(const QString &lines)
{
    QString text;
    for (const QString &line : lines.split(';', Qt::SkipEmptyParts)) {
        const QString key = line.section(": ", 0, 0) + ':';
        text += line.contains(": ") ? key.leftJustified(20) + ' ' + line.section(": ", 1) : line;
        text += '\n';
    }
    return text;
}

} // namespace

class TestTemplate : public QObject
{
    Q_OBJECT
private slots:
    void load_data();
    void load();
    void render_data();
    void render();
    void readBack();
};

void TestTemplate::load_data()
{
    QTest::addColumn<QString>("text");
    // Each kept line as "key|id|default|comment|block|flags|pids|types>classes", flags m
    // (directive), f (flag item) and l (LITERAL), classes the index lists holding the line.
    QTest::addColumn<QString>("lines");

    const auto row = [](const char *name, QString text, QString lines) {
        QTest::newRow(name) << text << lines;
    };
    row("section header", "sample:", "sample:|||||||other>4");
    row("every item", R"(  n:  I_1  from_data  "d v"  y  "c")", "  n:|I_1|d v|c||f||from_data>2");
    row("list entry, tabs", "    - e:\tP_3\tsemi_fix", "    - e:|P_3||||||semi_fix>1");
    row("dash without blank", "  -k: I_2 na", "  -k:|I_2||||||na>3");
    row("lone dash, blanks", "  -  \n   ", "  -  |||||||other>4;   |||||||other>4");
    row("first kind in order", "a: A semi_fix/input", "a:|A||||||semi_fix/input>0");
    row("second kind", "c: C na/from_data", "c:|C||||||na/from_data>2");
    row("other kinds", "d: D Input//na/", "d:|D||||||other/other/na/other>3");
    row("trailing words", R"(a: A input "" "" "" Literal pid="B" PID=C)", "a:|A||||l|B,C|input>0");
    row("near trailing words", "b: B na d f c PIDX=1 LITERALS PI=x", "b:|B|d|c||f||na>3");
    row("comment", "c: C input d # f c LITERAL", "c:|C|d|||||input>0");
    row("value in the id", "title: Hello world # note", "title:|Hello||||||other>4");
    row("same ids kept", "a: I input\nb: I na", "a:|I||||||input>0;b:|I||||||na>3");
    const QString directive = R"(#::block_start  b  B_1  input  "1 2"  f  "c"  PID=Q Literal)";
    row("directive", directive, "block_start|B_1|1 2|c|b|mfl|Q|input>0");
    row("comment lines", "# c\n#\n    # k: I input\n  #::block_start b I input\n\t# c\n\n", "");
    row("carriage returns", "k\r: I input\r", "k:|I||||||input>0");
}

void TestTemplate::load()
{
    QFETCH(QString, text);
    MetaTemplate tpl;
    DebugCapture quiet;
    loadTemplateText(tpl, text);
    const QList<int> *lists[] = {&tpl.inputIdx, &tpl.semiFixIdx, &tpl.fromDataIdx, &tpl.naIdx,
                                 &tpl.otherIdx};
    QStringList lines;
    for (int i = 0; i < tpl.lines.size(); ++i) {
        const TplLine &l = tpl.lines.at(i);
        const QString flags =
            QString(l.isMeta ? "m" : "") + (l.flag ? "f" : "") + (l.literal ? "l" : "");
        QStringList items{l.ymlKey, l.id, l.defValue, l.comm, l.blockName, flags, l.pids.join(',')};
        lines << (items << l.typesText()).join('|') + '>';
        for (int k = 0; k < 5; ++k)
            lines.last() += lists[k]->contains(i) ? QString::number(k) : "";
    }
    QTEST(lines.join(';'), "lines");
}

void TestTemplate::render_data()
{
    QTest::addColumn<QString>("tpl");
    QTest::addColumn<QString>("common");
    QTest::addColumn<QString>("meta");
    QTest::addColumn<QString>("expected");

    const auto row = [](const char *name, QString tpl, QString common, QString meta, QString out) {
        QTest::newRow(name) << tpl << common << meta << out;
    };
    const QString abc = "a: A na\nb: B na\nc: C na\n", e = " na \"\" \"\" \"\" ";
    row("padded to 20, a blank", "  v: V na", "", "V=1", "  v: 1");
    row("long key", "a_twenty_one_chars_k: K na", "", "K=x", "a_twenty_one_chars_k: x");
    row("first common row without --", abc, "A=--,O=x,A=c,A=d,B=--", "A=--,B=--", "a: c");
    row("own beats common, markers", abc, "A=c,B=c,C=c", "A=o,B=--NO_VALUE--,C=", "a: o;b: ;c: ");
    // A value must read back as the same text: values a YAML reader would take
    // apart are quoted, every other value stays bare.
    row("bare", abc, "", "A=,B=C#,C=-5", "a: ;b: C#;c: -5");
    row("blanks, tabs", abc, "", "A= a,B=a\t,C=a\tb", "a: \" a\";b: \"a\t\";c: \"a\tb\"");
    row("breaks, colons", abc, "", "A=a\rb\nc,B=k: v,C=a:", R"(a: "a\rb\nc";b: "k: v";c: "a:")");
    row("hash, quotes, dash", abc, "", "A=a #b,B=\"x\",C=- a", R"(a: "a #b";b: "\"x\"";c: "- a")");
    row("lone question", abc, "", "A=?", R"(a: "?")");
    row("booleans, null", abc, "", "A=NO,B=~,C=y", R"(a: "NO";b: "~";c: "y")");
    row("near booleans, null", abc, "", "A=Yes!,B=nO,C=none", "a: Yes!;b: nO;c: none");
    const QString literal = "n: N" + e + "LITERAL\nm: M" + e + "literal";
    row("literal", literal, "", "N=a\\b,M=", R"(n: "a\\b";m: "")");
    row("parents", "a: A" + e + "PID=Q PID=P\nc: C" + e + "pid=Q", "Q=1", "A=1,P=--,C=3", "c: 3");
    row("section header bare", "head: H\n  n: N na", "", "H=v,N=Cu", "head:;  n: Cu");
    // A list item whose first line has no value is left out whole, not joined to the one before.
    const QString list =
        "l:\n  - n: N na\n    k: K na\n    s:\n      t: T na\n  - n: M na\nz: Z na";
    row("list item without its first line", list, "K=k,T=t", "M=m,Z=z", "l:;  - n: m;z: z");

    const QString block = "::block_start %1 %2 na\n%1: X na\n::block_end %1\n";
    const QString blocks =
        block.arg("a", "A") + block.arg("b", "B") + block.arg("c", "C") + "d: D na";
    row("block 2", block.arg("a", "A"), "A=2", "X=x", "a: x");
    row("block 0, no value, no number", blocks, "A=0,C=yes", "X=x,D=4", "d: 4");
    const QString nested = "::block_start %1 B1 na\n" + abc.left(8) + "::block_start %2 B2 na\n" +
                           abc.mid(8, 8) + "::block_end %2\n" + abc.mid(16) +
                           "::block_end %1\nd: D na\n";
    const QString abcd = "A=1,B=1,C=1,D=1";
    row("outer off skips inner", nested.arg("o", "i"), "B1=0,B2=1", abcd, "d: 1");
    row("skip ends at first end of the name", nested.arg("x", "x"), "B1=0,B2=1", abcd, "c: 1;d: 1");
    const QString open = "::block_start o B1 na\n::block_end x\n";
    row("unterminated block", abc.left(8) + open + abc.mid(8), "B1=0", abcd, "a: 1");
}

void TestTemplate::render()
{
    QFETCH(QString, tpl);
    QFETCH(QString, common);
    QFETCH(QString, meta);
    MetaTemplate metaTemplate;
    DebugCapture quiet;
    loadTemplateText(metaTemplate, tpl);
    QFETCH(QString, expected);
    MetaValues own;
    for (const CommonValue &pair : pairs(meta))
        own.insert(pair.id, pair.value);
    QCOMPARE(renderMetadata(metaTemplate, pairs(common), own), yml(expected));
}

// Every value comes back from a YAML reader as the text it was: not a boolean,
// a null, or an error. Needs /usr/bin/python3 with python3-yaml (scripts/setup.sh).
void TestTemplate::readBack()
{
    const QStringList values{"NO",   "yes",  "Off",   "TRUE", "False", "on",   "~",      "null",
                             "NULL", "Yes!", "nO",    "C#",   " a",    "a\tb", "a\rb\n", "k: v",
                             "a:",   "a #b", "\"x\"", "- a",  "-",     "?",    "a\\b",   "!x",
                             "%x",   "@x",   "|",     "'x",   "&x"};
    QString text;
    MetaValues own;
    for (int i = 0; i < values.size(); ++i) {
        text += QString("k%1: K%1 na\n").arg(i);
        own.insert(QString("K%1").arg(i), values[i]);
    }
    MetaTemplate tpl;
    loadTemplateText(tpl, text);
    QProcess reader;
    const QString toJson =
        "import json,sys,yaml; json.dump(yaml.safe_load(sys.stdin.buffer), sys.stdout)";
    reader.start("/usr/bin/python3", {"-c", toJson});
    reader.write(renderMetadata(tpl, {}, own).toUtf8());
    reader.closeWriteChannel();
    QVERIFY2(reader.waitForFinished() && reader.exitCode() == 0, reader.readAllStandardError());
    const QJsonObject read = QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
    const auto json = [](const QJsonValue &v) {
        return QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact);
    };
    for (int i = 0; i < values.size(); ++i)
        QCOMPARE(json(read.value(QString("k%1").arg(i))), json(values[i]));
}

QTEST_GUILESS_MAIN(TestTemplate)
#include "TestTemplate.moc"

// A value in metadata.yml must read back as the same text: values a YAML
// reader would take apart are quoted, every other value stays bare.

#include "template/Render.h"

#include <QtTest>

class TestYamlValue : public QObject
{
    Q_OBJECT
private slots:
    void value_data();
    void value();
};

void TestYamlValue::value_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("literal");
    QTest::addColumn<QString>("expected");

    // Values a YAML reader takes as they stand.
    QTest::newRow("empty") << "" << false << "";
    QTest::newRow("plain word") << "abc" << false << "abc";
    QTest::newRow("exponent") << "1e+07" << false << "1e+07";
    QTest::newRow("date time") << "2098-10-10 11:50:00.000" << false << "2098-10-10 11:50:00.000";
    QTest::newRow("parentheses") << "Si(111)" << false << "Si(111)";
    QTest::newRow("hash inside a word") << "C#" << false << "C#";
    QTest::newRow("colon without blank") << "a:b" << false << "a:b";
    QTest::newRow("inner blanks") << "Cu K edge" << false << "Cu K edge";
    QTest::newRow("line breaks") << "a\rb\nc" << false << "\"a\\rb\\nc\"";
    QTest::newRow("dash inside") << "a - b" << false << "a - b";
    QTest::newRow("dash then letter") << "-5" << false << "-5";
    QTest::newRow("question mark inside") << "why?" << false << "why?";
    QTest::newRow("quote inside") << "a\"b" << false << "a\"b";
    QTest::newRow("backslash inside") << "C:\\data" << false << "C:\\data";
    QTest::newRow("indicator later") << "a[1]" << false << "a[1]";

    // (a) blanks or tabs at either end
    QTest::newRow("leading blank") << " a" << false << "\" a\"";
    QTest::newRow("trailing blank") << "a " << false << "\"a \"";
    QTest::newRow("leading tab") << "\ta" << false << "\"\ta\"";
    QTest::newRow("only blanks") << "   " << false << "\"   \"";
    // (b) a tab anywhere
    QTest::newRow("inner tab") << "a\tb" << false << "\"a\tb\"";
    // (c) mapping separator or comment
    QTest::newRow("colon blank") << "key: value" << false << "\"key: value\"";
    QTest::newRow("blank hash") << "a #b" << false << "\"a #b\"";
    QTest::newRow("ends with colon") << "note:" << false << "\"note:\"";
    // (d) an indicator as first character
    QTest::newRow("[") << "[1, 2]" << false << "\"[1, 2]\"";
    QTest::newRow("]") << "]" << false << "\"]\"";
    QTest::newRow("{") << "{a}" << false << "\"{a}\"";
    QTest::newRow("}") << "}x" << false << "\"}x\"";
    QTest::newRow(",") << ",x" << false << "\",x\"";
    QTest::newRow("#") << "#1" << false << "\"#1\"";
    QTest::newRow("&") << "&anchor" << false << "\"&anchor\"";
    QTest::newRow("*") << "*alias" << false << "\"*alias\"";
    QTest::newRow("!") << "!tag" << false << "\"!tag\"";
    QTest::newRow("|") << "|x" << false << "\"|x\"";
    QTest::newRow(">") << ">x" << false << "\">x\"";
    QTest::newRow("'") << "'x'" << false << "\"'x'\"";
    QTest::newRow("\" escaped") << "\"x\"" << false << "\"\\\"x\\\"\"";
    QTest::newRow("%") << "%x" << false << "\"%x\"";
    QTest::newRow("@") << "@x" << false << "\"@x\"";
    QTest::newRow("backquote") << "`x" << false << "\"`x\"";
    // (e) block indicators
    QTest::newRow("dash blank") << "- a" << false << "\"- a\"";
    QTest::newRow("question blank") << "? a" << false << "\"? a\"";
    QTest::newRow("colon blank first") << ": a" << false << "\": a\"";
    QTest::newRow("lone dash") << "-" << false << "\"-\"";
    QTest::newRow("lone question") << "?" << false << "\"?\"";
    QTest::newRow("lone colon") << ":" << false << "\":\"";
    // quoted values escape backslashes and quotes
    QTest::newRow("quoted with backslash") << " C:\\d" << false << "\" C:\\\\d\"";

    // LITERAL lines are always quoted.
    QTest::newRow("literal plain") << "abc" << true << "\"abc\"";
    QTest::newRow("literal empty") << "" << true << "\"\"";
    QTest::newRow("literal inner quotes") << "say \"hi\"" << true << "\"say \\\"hi\\\"\"";
    QTest::newRow("literal backslashes") << "a\\b\\" << true << "\"a\\\\b\\\\\"";
    QTest::newRow("literal backslash quote") << "\\\"" << true << "\"\\\\\\\"\"";
}

void TestYamlValue::value()
{
    QFETCH(QString, value);
    QFETCH(bool, literal);
    QFETCH(QString, expected);
    QCOMPARE(yamlValue(value, literal), expected);
}

QTEST_GUILESS_MAIN(TestYamlValue)
#include "TestYamlValue.moc"

#include "text/Csv.h"

#include <QtTest>

namespace {

// Every field of a line, read as the property files are: until the rest is empty.
QStringList readFields(const QString &line)
{
    QStringList fields;
    QString rest = line;
    do {
        QString field = "stale";
        rest = takeCsvField(rest, field);
        fields << field;
    } while (!rest.isEmpty());
    return fields;
}

} // namespace

class TestCsv : public QObject
{
    Q_OBJECT
private slots:
    void read_data();
    void read();
    void write_data();
    void write();
    void padRight_data();
    void padRight();
};

// clang-format off
void TestCsv::read_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("fields");

    QTest::newRow("empty line") << "" << QStringList{""};
    QTest::newRow("leading comma") << ",abc,d" << QStringList{"", "abc", "d"};
    QTest::newRow("quoted comma") << "\"a,b\",c" << QStringList{"a,b", "c"};
    QTest::newRow("blanks kept") << " a ,b" << QStringList{" a ", "b"};
    QTest::newRow("backslash is ordinary") << "a\\b,c" << QStringList{"a\\b", "c"};
    QTest::newRow("two quotes are one empty field") << "\"\"" << QStringList{""};
    QTest::newRow("empty quoted then more") << "\"\",\"x\"" << QStringList{"", "x"};
    QTest::newRow("doubled quote inside") << "\"a\"\"b\",c" << QStringList{"a\"b", "c"};
    QTest::newRow("only a quote") << "\"\"\"\"" << QStringList{"\""};
    QTest::newRow("quote at end of value") << "\"ab\"\"\",c" << QStringList{"ab\"", "c"};
    QTest::newRow("old backslash quote") << "\"a\\\"b\"" << QStringList{"a\\b"};
    QTest::newRow("old backslash quote at end") << "\"a\\\"\"" << QStringList{"a\\\""};
    QTest::newRow("quotes mid field toggle") << "ab\"c,d\"e,f" << QStringList{"abc,de", "f"};
    QTest::newRow("unterminated quote") << "\"open, never closed" << QStringList{"open, never closed"};
    QTest::newRow("trailing comma") << "abc," << QStringList{"abc"};
    QTest::newRow("doubled quote outside quotes") << "a\"\"b,c" << QStringList{"ab", "c"};
    QTest::newRow("spreadsheet line") << "INFO_001,\"He said \"\"ok\"\"\",\"a, b\",,x" << QStringList{"INFO_001", "He said \"ok\"", "a, b", "", "x"};
}
// clang-format on

void TestCsv::read()
{
    QFETCH(QString, line);
    QTEST(readFields(line), "fields");
}

// clang-format off
void TestCsv::write_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("escaped");

    QTest::newRow("empty") << "" << "";
    QTest::newRow("plain") << "Cu foil" << "Cu foil";
    QTest::newRow("comma") << "a,b" << "a,b";
    QTest::newRow("inner quote") << "say \"hi\"" << "say \"\"hi\"\"";
    QTest::newRow("lone quote") << "\"" << "\"\"";
    QTest::newRow("two quotes") << "\"\"" << "\"\"\"\"";
    QTest::newRow("quote at end") << "6\"" << "6\"\"";
    QTest::newRow("quote then comma") << "\"," << "\"\",";
    QTest::newRow("backslash") << "C:\\data\\" << "C:\\data\\";
    QTest::newRow("backslash before quote") << "a\\\"b" << "a\\\"\"b";
    QTest::newRow("blanks around") << "  padded  " << "  padded  ";
    QTest::newRow("markers") << "--NO_VALUE--" << "--NO_VALUE--";
    QTest::newRow("non-latin") << QString::fromUtf8("硫酸銅 (CuSO₄)") << QString::fromUtf8("硫酸銅 (CuSO₄)");
}
// clang-format on

void TestCsv::write()
{
    QFETCH(QString, value);
    QFETCH(QString, escaped);
    QCOMPARE(csvEscape(value), escaped);
    QCOMPARE(csvQuote(value), "\"" + escaped + "\"");
    QCOMPARE(csvNext(value), ",\"" + escaped + "\"");
    // Every value reads back, alone and between other fields, first and last.
    QCOMPARE(readFields(csvQuote(value)), QStringList{value});
    const QStringList row{value, "x", value, "", value};
    QString line = csvQuote(row[0]);
    for (int i = 1; i < row.size(); ++i)
        line += csvNext(row[i]);
    QCOMPARE(readFields(line), row);
}

// clang-format off
void TestCsv::padRight_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("blanks");

    QTest::newRow("five to twenty") << "abcde" << 20 << 15;
    QTest::newRow("longer unchanged") << "abcdefghijklmnopqrstuvwxy" << 20 << 0;
    QTest::newRow("negative width") << "ab" << -3 << 0;
    QTest::newRow("empty to twenty") << "" << 20 << 20;
    QTest::newRow("capped at 101") << "k" << 500 << 101;
}
// clang-format on

void TestCsv::padRight()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(int, blanks);
    QCOMPARE(::padRight(text, width), text + QString(blanks, ' '));
}

QTEST_GUILESS_MAIN(TestCsv)
#include "TestCsv.moc"

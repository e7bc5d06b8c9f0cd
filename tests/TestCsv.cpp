#include "text/Csv.h"

#include <QtTest>

namespace {

// Every field of a line, read as the property files are: until the rest is empty.
QStringList readFields(QString rest)
{
    QStringList fields;
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
};

// clang-format off
void TestCsv::read_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("fields");

    QTest::newRow("empty line") << "" << QStringList{""};
    QTest::newRow("empty fields, trailing comma") << ",\"\",\"a,b\"," << QStringList{"", "", "a,b"};
    QTest::newRow("doubled quotes") << "\"a\"\"b\",\"c\"\"\"" << QStringList{"a\"b", "c\""};
    QTest::newRow("old backslash quote") << "\"a\\\"b\"" << QStringList{"a\\b"};
    QTest::newRow("quotes mid field toggle") << "ab\"c,d\"e,f" << QStringList{"abc,de", "f"};
    QTest::newRow("unterminated quote") << "\"open, never closed" << QStringList{"open, never closed"};
    QTest::newRow("doubled quote outside quotes") << "a\"\"b,c" << QStringList{"ab", "c"};
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
    QTest::addColumn<QString>("quoted");

    QTest::newRow("empty") << "" << "\"\"";
    QTest::newRow("inner quotes, comma") << "a \"b\"," << "\"a \"\"b\"\",\"";
    QTest::newRow("two quotes") << "\"\"" << "\"\"\"\"\"\"";
}
// clang-format on

// Every value reads back, alone and between other fields, first and last.
void TestCsv::write()
{
    QFETCH(QString, value);
    QTEST(csvQuote(value), "quoted");
    const QStringList row{value, "x", value, "", value};
    QString line = csvQuote(row[0]);
    for (int i = 1; i < row.size(); ++i)
        line += csvNext(row[i]);
    QCOMPARE(readFields(line), row);
}

QTEST_GUILESS_MAIN(TestCsv)
#include "TestCsv.moc"

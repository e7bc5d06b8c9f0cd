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
    void fields_data();
    void fields();
};

void TestCsv::fields_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("fields");

    QTest::newRow("empty line") << "" << QStringList{""};
    QTest::newRow("empty fields, trailing comma") << R"(,"","a,b",)" << QStringList{"", "", "a,b"};
    QTest::newRow("doubled quotes") << R"("a""b","""",""",")" << QStringList{"a\"b", "\"", "\","};
    QTest::newRow("backslash is no escape") << R"("a\"b")" << QStringList{"a\\b"};
    QTest::newRow("quotes mid field toggle") << R"(ab"c,d"e,f)" << QStringList{"abc,de", "f"};
    QTest::newRow("unterminated quote") << R"("open, never)" << QStringList{"open, never"};
    QTest::newRow("doubled quote outside quotes") << R"(a""b,c)" << QStringList{"ab", "c"};
}

// Each line's fields, then the same fields written out and read back.
void TestCsv::fields()
{
    QFETCH(QString, line);
    QFETCH(QStringList, fields);
    QCOMPARE(readFields(line), fields);
    QString written = csvQuote(fields.first());
    for (const QString &field : fields.mid(1))
        written += csvNext(field);
    QCOMPARE(readFields(written), fields);
}

QTEST_GUILESS_MAIN(TestCsv)
#include "TestCsv.moc"

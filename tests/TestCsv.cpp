#include "text/Csv.h"

#include <QtTest>

namespace {

// Reads every field of a line the way the property files are read: fields
// are taken until the rest is empty.
QStringList readFields(const QString &line)
{
    QStringList fields;
    QString rest = line;
    do {
        QString field;
        rest = takeCsvField(rest, field);
        fields << field;
    } while (!rest.isEmpty());
    return fields;
}

QString writeLine(const QStringList &values)
{
    QString line = csvQuote(values.value(0));
    for (int i = 1; i < values.size(); ++i)
        line += csvNext(values.at(i));
    return line;
}

} // namespace

class TestCsv : public QObject
{
    Q_OBJECT
private slots:
    void takeCsvField_data();
    void takeCsvField();
    void write_data();
    void write();
    void roundTrip_data();
    void roundTrip();
    void spreadsheetLine();
    void padRight_data();
    void padRight();
};

void TestCsv::takeCsvField_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("rest");

    QTest::newRow("empty line") << ""
                                << ""
                                << "";
    QTest::newRow("leading comma") << ",abc,d"
                                   << ""
                                   << "abc,d";
    QTest::newRow("plain") << "abc,def"
                           << "abc"
                           << "def";
    QTest::newRow("quoted comma") << "\"a,b\",c"
                                  << "a,b"
                                  << "c";
    QTest::newRow("blanks kept") << " a ,b"
                                 << " a "
                                 << "b";
    QTest::newRow("backslash is ordinary") << "a\\b,c"
                                           << "a\\b"
                                           << "c";
    QTest::newRow("two quotes are one empty field") << "\"\""
                                                    << ""
                                                    << "";
    QTest::newRow("empty quoted then more") << "\"\",\"x\""
                                            << ""
                                            << "\"x\"";
    QTest::newRow("doubled quote inside") << "\"a\"\"b\",c"
                                          << "a\"b"
                                          << "c";
    QTest::newRow("only a quote") << "\"\"\"\""
                                  << "\""
                                  << "";
    QTest::newRow("quote at end of value") << "\"ab\"\"\",c"
                                           << "ab\""
                                           << "c";
    QTest::newRow("old style backslash quote") << "\"a\\\"b\""
                                               << "a\\b"
                                               << "";
    QTest::newRow("old style quote at end") << "\"a\\\"\""
                                            << "a\\\""
                                            << "";
    QTest::newRow("quotes mid field toggle") << "ab\"c,d\"e,f"
                                             << "abc,de"
                                             << "f";
    QTest::newRow("unterminated quote") << "\"open, never closed"
                                        << "open, never closed"
                                        << "";
    QTest::newRow("trailing comma") << "abc,"
                                    << "abc"
                                    << "";
    QTest::newRow("doubled quote outside quotes is empty") << "a\"\"b,c"
                                                           << "ab"
                                                           << "c";
}

void TestCsv::takeCsvField()
{
    QFETCH(QString, line);
    QFETCH(QString, field);
    QFETCH(QString, rest);

    QString got = QStringLiteral("stale");
    QCOMPARE(::takeCsvField(line, got), rest);
    QCOMPARE(got, field);
}

void TestCsv::write_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("escaped");

    QTest::newRow("plain") << "abc"
                           << "abc";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("inner quote") << "a\"b"
                                 << "a\"\"b";
    QTest::newRow("two quotes") << "\"\""
                                << "\"\"\"\"";
    QTest::newRow("backslash untouched") << "a\\b"
                                         << "a\\b";
    QTest::newRow("comma untouched") << "a,b"
                                     << "a,b";
}

void TestCsv::write()
{
    QFETCH(QString, value);
    QFETCH(QString, escaped);

    QCOMPARE(csvEscape(value), escaped);
    QCOMPARE(csvQuote(value), "\"" + escaped + "\"");
    QCOMPARE(csvNext(value), ",\"" + escaped + "\"");
}

void TestCsv::roundTrip_data()
{
    QTest::addColumn<QString>("value");

    QTest::newRow("empty") << "";
    QTest::newRow("plain") << "Cu foil";
    QTest::newRow("comma") << "a,b";
    QTest::newRow("inner quote") << "say \"hi\"";
    QTest::newRow("lone quote") << "\"";
    QTest::newRow("two quotes") << "\"\"";
    QTest::newRow("quote at end") << "6\"";
    QTest::newRow("quote then comma") << "\",";
    QTest::newRow("backslash") << "C:\\data\\";
    QTest::newRow("backslash before quote") << "a\\\"b";
    QTest::newRow("leading and trailing blanks") << "  padded  ";
    QTest::newRow("only blanks") << "   ";
    QTest::newRow("markers") << "--NO_VALUE--";
    QTest::newRow("non-latin") << QString::fromUtf8("硫酸銅 (CuSO₄)");
}

void TestCsv::roundTrip()
{
    QFETCH(QString, value);

    QCOMPARE(readFields(csvQuote(value)), QStringList({value}));
    // Between other fields, first and last.
    const QStringList row({value, "x", value, "", value});
    QCOMPARE(readFields(writeLine(row)), row);
}

void TestCsv::spreadsheetLine()
{
    // Spreadsheets quote only where needed; both forms read alike.
    const QString line = QStringLiteral("INFO_001,\"He said \"\"ok\"\"\",\"a, b\",,x");
    QCOMPARE(readFields(line), QStringList({"INFO_001", "He said \"ok\"", "a, b", "", "x"}));
}

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

void TestCsv::padRight()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(int, blanks);
    QCOMPARE(::padRight(text, width), text + QString(blanks, ' '));
}

QTEST_GUILESS_MAIN(TestCsv)
#include "TestCsv.moc"

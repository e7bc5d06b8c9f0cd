// The text helpers every reader and writer is built on: property-file
// fields, dates and times, the items of a line, and the physical constants.

#include "text/Csv.h"
#include "text/DateTime.h"
#include "text/LineItems.h"
#include "text/Units.h"

#include "TestSupport.h"

#include <cmath>

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

class TestText : public QObject
{
    Q_OBJECT
private slots:
    void csv_data();
    void csv();
    void dateTime_data();
    void dateTime();
    void lineItems_data();
    void lineItems();
    void units();
};

void TestText::csv_data()
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
void TestText::csv()
{
    QFETCH(QString, line);
    QFETCH(QStringList, fields);
    QCOMPARE(readFields(line), fields);
    QString written = csvQuote(fields.first());
    for (const QString &field : fields.mid(1))
        written += csvNext(field);
    QCOMPARE(readFields(written), fields);
}

void TestText::dateTime_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time"); // null: the date column is one text to split
    QTest::addColumn<QString>("normal");
    const QString none, nbsp(QChar(0xa0));
    auto row = [](const char *name, const QString &date, const QString &time,
                  const QString &normal) { QTest::newRow(name) << date << time << normal; };

    row("90 is 1990", "90.10.2", "3:4", "1990-10-2 3:4:00.000");
    row("89 is 2089", "89/1/2", "3:4", "2089-1-2 3:4:00.000");
    row("mixed separators", "2019-7/04", "1:2:3.45", "2019-7-04 1:2:3.45");
    row("no time", "05.3", "", "2005-3-00 :00:00.000");
    row("year 999", "999", "x", "2999-00-00 x:00:00.000");
    row("year 1000 stays", "1000.1.1", "0:0", "1000-1-1 0:0:00.000");
    row("not a number", "ab.cd.ef", "1:2:3.", "2000-cd-ef 1:2:3");
    row("extra parts ignored", "2020.1.2.3", "1:2:3.4.5", "2020-1-2 1:2:3.4");
    row("dots for colons", "25.03.02", "10.53.20", "2025-03-02 10:53:20.000");
    row("colon keeps the dot", "07/1/2", "10:53.20", "2007-1-2 10:53.20:00.000");
    row("markers kept", "20/%1/%2", "%2:%1:x.%3", "2020-%1-%2 %2:%1:x.%3");
    row("placeholder", "--/--/-- --:--:--.---", none, "2000-- --:--:--.---");
    row("leading blank", " 26/11/30 21:41", none, "2000-00-00 26/11/30:00:00.000");
    row("\\v and \\f", "26.11.30\v\f21:41", none, "2026-11-30 21:41:00.000");
    const QString noBreak = "2026-11-30" + nbsp + "1 00:00:00.000";
    row("no-break space", "26/11/30" + nbsp + "1", none, noBreak);
}

void TestText::dateTime()
{
    QFETCH(QString, date);
    QFETCH(QString, time);
    if (!time.isNull())
        QTEST(normalDateTime(splitDateAndTime(date, time)), "normal");
    // One text with blanks between date and time splits the same way.
    QTEST(normaliseDateTime(time.isNull() ? date : date + " \t " + time), "normal");
}

void TestText::lineItems_data()
{
    QTest::addColumn<QString>("fn");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("expected"); // parts joined by "|", then "!" for a debug line
    auto row = [](const char *name, const char *fn, const QString &text, const char *prefix,
                  const QString &expected) {
        QTest::newRow(name) << QString(fn) << text << QString(prefix) << expected;
    };
    const QString nbsp = QString("a") + QChar(0x00A0) + "b";
    row("take empty", "take", "", "", "|");
    row("take keeps whitespace of rest", "take", "  a\v\t\nb", "", "a|\v\t\nb");
    row("take quoted then letter", "take", "\"ab\"c d", "", "ab|c d");
    row("take quote inside", "take", "a\"b c", "", "a\"b| c");
    row("take no-break space is text", "take", nbsp + " c", "", nbsp + "| c");
    row("take open quote", "take", " \"abc def", "", "abc def|!");
    row("take closing quote", "take", "  abc\" d", "", "abc\"| d!");
    row("comment in quotes", "comment", "k \"a#b\" # c # d", "", "k \"a#b\" ");
    row("quotes share one switch", "comment", "k \"it's\" # x", "", "k \"it's\" # x");
    row("blank quoted hash", "blank", "\"#\"", "", "0");
    row("trim", "trim", "\t a  b \n", "", "a  b");
    row("trim only blanks", "trim", "    ", "", "    ");
    row("prefix line too short", "prefix", " Ri", " Ring :", "0");
    row("prefix whole line", "prefix", " Ring :", " Ring :", "1");
    row("after", "after", "XXXX \"a b\"  c  ", "1234", "a b|c|");
    row("after nothing", "after", "      Mode", "      Mode", "(none)");
    row("after only blanks", "after", "P:   ", "P:", "");
}

void TestText::lineItems()
{
    QFETCH(QString, fn);
    QFETCH(QString, text);
    QFETCH(QString, prefix);
    QString part = "stale";
    DebugCapture capture;
    const QString rest = fn == "take" ? takeItem(text, part) : QString();
    const QStringList after = fn == "after" ? itemsAfter(text, prefix) : QStringList();
    QString got = fn == "take"      ? part + '|' + rest
                  : fn == "comment" ? stripComment(text)
                  : fn == "blank"   ? QString::number(isBlankLine(text))
                  : fn == "trim"    ? trimmedItem(text)
                  : fn == "prefix"  ? QString::number(startsWithPrefix(text, prefix))
                  : after.isEmpty() ? "(none)"
                                    : after.join('|');
    QTEST(got + (DebugCapture::lines.isEmpty() ? "" : "!"), "expected");
}

// The constants an energy is computed from, against their formula, so that a
// digit mistyped in one of them shows.
void TestText::units()
{
    const Units u;
    const auto near = [](double a, double b, double tolerance) {
        return std::fabs(a - b) <= tolerance * std::fabs(b);
    };
    QVERIFY(near(u.hc, u.h * u.c / u.e * 1e10, 1e-13));
    QVERIFY(near(u.pi, M_PI, 1e-15));
    // Si(111): the cubic lattice constant of silicon, 5.4309 Å, over the root of 3.
    QVERIFY(near(u.dDefault, 5.4309 / std::sqrt(3.0), 1e-7));
}

QTEST_GUILESS_MAIN(TestText)
#include "TestText.moc"

#include "text/LineItems.h"

#include "TestSupport.h"

#include <QtTest>

class TestLineItems : public QObject
{
    Q_OBJECT
private slots:
    void items_data();
    void items();
};

// clang-format off
void TestLineItems::items_data()
{
    QTest::addColumn<QString>("fn");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("expected"); // parts joined by "|", then "!" for a debug line

    const QString nbsp = QString("a") + QChar(0x00A0) + "b";
    QTest::newRow("take empty") << "take" << "" << "" << "|";
    QTest::newRow("take keeps whitespace of rest") << "take" << "  a\v\t\nb" << "" << "a|\v\t\nb";
    QTest::newRow("take quoted then letter") << "take" << "\"ab\"c d" << "" << "ab|c d";
    QTest::newRow("take quote inside") << "take" << "a\"b c" << "" << "a\"b| c";
    QTest::newRow("take no-break space is text") << "take" << nbsp + " c" << "" << nbsp + "| c";
    QTest::newRow("take open quote") << "take" << " \"abc def" << "" << "abc def|!";
    QTest::newRow("take closing quote") << "take" << "  abc\" d" << "" << "abc\"| d!";
    QTest::newRow("comment in quotes") << "comment" << "k \"a#b\" # c # d" << "" << "k \"a#b\" ";
    QTest::newRow("quotes share one switch") << "comment" << "k \"it's\" # x" << "" << "k \"it's\" # x";
    QTest::newRow("blank quoted hash") << "blank" << "\"#\"" << "" << "false";
    QTest::newRow("trim") << "trim" << "\t a  b \n" << "" << "a  b";
    QTest::newRow("trim only blanks") << "trim" << "    " << "" << "    ";
    QTest::newRow("prefix line too short") << "prefix" << " Ri" << " Ring :" << "false";
    QTest::newRow("prefix whole line") << "prefix" << " Ring :" << " Ring :" << "true";
    QTest::newRow("after") << "after" << "XXXX \"a b\"  c  " << "1234" << "a b|c|";
    QTest::newRow("after nothing") << "after" << "      Mode" << "      Mode" << "(none)";
    QTest::newRow("after only blanks") << "after" << "P:   " << "P:" << "";
}
// clang-format on

void TestLineItems::items()
{
    QFETCH(QString, fn);
    QFETCH(QString, text);
    QFETCH(QString, prefix);
    QString got, part = "stale";
    DebugCapture capture;
    if (fn == "take") {
        got = takeItem(text, part);
        got = part + '|' + got;
    } else if (fn == "comment") {
        got = stripComment(text);
    } else if (fn == "blank") {
        got = isBlankLine(text) ? "true" : "false";
    } else if (fn == "trim") {
        got = trimmedItem(text);
    } else if (fn == "prefix") {
        got = startsWithPrefix(text, prefix) ? "true" : "false";
    } else {
        const QStringList items = itemsAfter(text, prefix);
        got = items.isEmpty() ? "(none)" : items.join('|');
    }
    if (!DebugCapture::lines().isEmpty())
        got += '!';
    QTEST(got, "expected");
}

QTEST_GUILESS_MAIN(TestLineItems)
#include "TestLineItems.moc"

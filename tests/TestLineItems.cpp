#include "text/LineItems.h"

#include <QRegularExpression>
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
    QTest::addColumn<QString>("expected"); // parts joined by "|"
    QTest::addColumn<QString>("message");  // the debug line about an unbalanced quote

    const QString nbsp = QString("a") + QChar(0x00A0) + "b";
    const QString open = "item is started from quote but not ended by quote";
    const QString close = "item is started from not quote but ended by quote";
    QTest::newRow("take: empty") << "take" << "" << "" << "|" << "";
    QTest::newRow("take: only blanks") << "take" << "   \t " << "" << "|" << "";
    QTest::newRow("take: one word") << "take" << "word" << "" << "word|" << "";
    QTest::newRow("take: leading blanks") << "take" << "   abc def" << "" << "abc| def" << "";
    QTest::newRow("take: rest keeps whitespace") << "take" << "a\t\tb" << "" << "a|\t\tb" << "";
    QTest::newRow("take: quoted with blanks") << "take" << "\"my works\" tail" << "" << "my works| tail" << "";
    QTest::newRow("take: quoted empty") << "take" << "\"\" next" << "" << "| next" << "";
    QTest::newRow("take: quoted then letter") << "take" << "\"ab\"c d" << "" << "ab|c d" << "";
    QTest::newRow("take: quote inside") << "take" << "a\"b c" << "" << "a\"b| c" << "";
    QTest::newRow("take: no-break space is text") << "take" << nbsp + " c" << "" << nbsp + "| c" << "";
    QTest::newRow("take: newline ends item") << "take" << "ab\ncd" << "" << "ab|\ncd" << "";
    QTest::newRow("take: open quote never closed") << "take" << " \"abc def" << "" << "abc def|" << open;
    QTest::newRow("take: lone quote") << "take" << "\"" << "" << "|" << open;
    QTest::newRow("take: closing quote, blank follows") << "take" << "abc\" def" << "" << "abc\"| def" << close;
    QTest::newRow("take: closing quote at end") << "take" << "  abc\"" << "" << "abc\"|" << close;
    QTest::newRow("comment: none") << "comment" << "key value" << "" << "key value|unchanged" << "";
    QTest::newRow("comment: plain") << "comment" << "key value # note" << "" << "key value | note" << "";
    QTest::newRow("comment: only") << "comment" << "# all of it" << "" << "| all of it" << "";
    QTest::newRow("comment: hash in double quotes") << "comment" << "k \"a#b\" # c" << "" << "k \"a#b\" | c" << "";
    QTest::newRow("comment: hash in single quotes") << "comment" << "k 'a#b'#c" << "" << "k 'a#b'|c" << "";
    QTest::newRow("comment: apostrophe hides hash") << "comment" << "Name Bob's # not cut" << "" << "Name Bob's # not cut|unchanged" << "";
    QTest::newRow("comment: quotes share one switch") << "comment" << "k \"it's\" # x" << "" << "k \"it's\" # x|unchanged" << "";
    QTest::newRow("comment: first hash wins") << "comment" << "a # b # c" << "" << "a | b # c" << "";
    QTest::newRow("comment: empty line") << "comment" << "" << "" << "|unchanged" << "";
    QTest::newRow("blank: empty") << "blank" << "" << "" << "true" << "";
    QTest::newRow("blank: blanks and tabs") << "blank" << "  \t  " << "" << "true" << "";
    QTest::newRow("blank: comment only") << "blank" << "# comment" << "" << "true" << "";
    QTest::newRow("blank: word") << "blank" << "a" << "" << "false" << "";
    QTest::newRow("blank: word before comment") << "blank" << " a # b" << "" << "false" << "";
    QTest::newRow("blank: quoted hash") << "blank" << "\"#\"" << "" << "false" << "";
    QTest::newRow("blank: empty quotes") << "blank" << "\"\"" << "" << "false" << "";
    QTest::newRow("trim: one before, several after") << "trim" << " abc    " << "" << "abc" << "";
    QTest::newRow("trim: three before") << "trim" << "   abc" << "" << "abc" << "";
    QTest::newRow("trim: inner blanks kept") << "trim" << "\t a  b \n" << "" << "a  b" << "";
    QTest::newRow("trim: only blanks unchanged") << "trim" << "    " << "" << "    " << "";
    QTest::newRow("prefix: tag") << "prefix" << "   9809  a b" << "   9809" << "true" << "";
    QTest::newRow("prefix: one blank short") << "prefix" << "  9809  a b" << "   9809" << "false" << "";
    QTest::newRow("prefix: case matters") << "prefix" << " ring : x" << " Ring :" << "false" << "";
    QTest::newRow("prefix: line too short") << "prefix" << " Ri" << " Ring :" << "false" << "";
    QTest::newRow("prefix: whole line") << "prefix" << " Ring :" << " Ring :" << "true" << "";
    QTest::newRow("after: ring line") << "after" << " Ring :  2.5 GeV  450.1 mA" << " Ring :" << "2.5|GeV|450.1|mA" << "";
    QTest::newRow("after: trailing blank adds empty item") << "after" << " Mono : Si(111)  " << " Mono :" << "Si(111)|" << "";
    QTest::newRow("after: no blank after crystal") << "after" << " Mono : Si(111)" << " Mono :" << "Si(111)" << "";
    QTest::newRow("after: nothing after prefix") << "after" << "      Mode" << "      Mode" << "(none)" << "";
    QTest::newRow("after: prefix length only") << "after" << "XXXXa b" << "1234" << "a|b" << "";
    QTest::newRow("after: quoted item") << "after" << "P: \"a b\" c" << "P:" << "a b|c" << "";
    QTest::newRow("after: only blanks") << "after" << "P:   " << "P:" << "" << "";
}
// clang-format on

void TestLineItems::items()
{
    QFETCH(QString, fn);
    QFETCH(QString, text);
    QFETCH(QString, prefix);
    QFETCH(QString, message);
    if (!message.isEmpty()) {
        // The message names the whole text handed in, not only the item.
        const QString quoted = QRegularExpression::escape(QString(text).replace('"', "\\\""));
        QTest::ignoreMessage(
            QtDebugMsg,
            QRegularExpression(QString("^\"In a line \\[%1\\] %2\"$").arg(quoted, message)));
    }
    QString got, part = "unchanged";
    if (fn == "take") {
        part = "stale";
        got = takeItem(text, part);
        got = part + '|' + got;
    } else if (fn == "comment") {
        got = splitComment(text, part) + '|' + part;
        QCOMPARE(stripComment(text), got.section('|', 0, 0));
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
    QTEST(got, "expected");
}

QTEST_GUILESS_MAIN(TestLineItems)
#include "TestLineItems.moc"

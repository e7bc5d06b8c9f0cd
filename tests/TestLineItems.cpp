#include "text/LineItems.h"

#include <QRegularExpression>
#include <QtTest>

class TestLineItems : public QObject
{
    Q_OBJECT
private slots:
    void takeItem_data();
    void takeItem();
    void unbalancedQuotes_data();
    void unbalancedQuotes();
    void successiveItems();
    void splitComment_data();
    void splitComment();
    void isBlankLine_data();
    void isBlankLine();
    void trimmedItem_data();
    void trimmedItem();
    void startsWithPrefix_data();
    void startsWithPrefix();
    void itemsAfter_data();
    void itemsAfter();
};

void TestLineItems::takeItem_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("rest");

    QTest::newRow("empty") << ""
                           << ""
                           << "";
    QTest::newRow("only blanks") << "   \t "
                                 << ""
                                 << "";
    QTest::newRow("one word") << "word"
                              << "word"
                              << "";
    QTest::newRow("leading blanks skipped") << "   abc def"
                                            << "abc"
                                            << " def";
    QTest::newRow("rest keeps its whitespace") << "a\t\tb"
                                               << "a"
                                               << "\t\tb";
    QTest::newRow("quoted with blanks") << "\"my works\" tail"
                                        << "my works"
                                        << " tail";
    QTest::newRow("quoted empty") << "\"\" next"
                                  << ""
                                  << " next";
    QTest::newRow("quoted then letter") << "\"ab\"c d"
                                        << "ab"
                                        << "c d";
    QTest::newRow("quote inside unquoted") << "a\"b c"
                                           << "a\"b"
                                           << " c";
    QTest::newRow("no-break space is not whitespace")
        << QString("a") + QChar(0x00A0) + "b c" << QString("a") + QChar(0x00A0) + "b"
        << " c";
    QTest::newRow("newline ends item") << "ab\ncd"
                                       << "ab"
                                       << "\ncd";
}

void TestLineItems::takeItem()
{
    QFETCH(QString, text);
    QFETCH(QString, item);
    QFETCH(QString, rest);

    QString got = QStringLiteral("stale");
    const QString gotRest = ::takeItem(text, got);
    QCOMPARE(got, item);
    QCOMPARE(gotRest, rest);
}

void TestLineItems::unbalancedQuotes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("rest");
    QTest::addColumn<QString>("message");

    const QString open = QStringLiteral("item is started from quote but not ended by quote");
    const QString close = QStringLiteral("item is started from not quote but ended by quote");
    QTest::newRow("open quote never closed") << " \"abc def"
                                             << "abc def"
                                             << "" << open;
    QTest::newRow("lone quote") << "\""
                                << ""
                                << "" << open;
    QTest::newRow("closing quote, blank follows") << "abc\" def"
                                                  << "abc\""
                                                  << " def" << close;
    QTest::newRow("closing quote at end") << "  abc\""
                                          << "abc\""
                                          << "" << close;
}

void TestLineItems::unbalancedQuotes()
{
    QFETCH(QString, text);
    QFETCH(QString, item);
    QFETCH(QString, rest);
    QFETCH(QString, message);

    // The message names the whole text handed in, not only the item.
    const QString pattern =
        QStringLiteral("^\"In a line \\[%1\\] %2\"$")
            .arg(QRegularExpression::escape(QString(text).replace('"', QStringLiteral("\\\""))),
                 message);
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(pattern));
    QString got;
    const QString gotRest = ::takeItem(text, got);
    QCOMPARE(got, item);
    QCOMPARE(gotRest, rest);
}

void TestLineItems::successiveItems()
{
    // Feeding each rest back in walks a configuration-like line item by item;
    // the trailing blanks give one last, empty item.
    const QString line = QStringLiteral("Works_Dir  \"my works\"\tnext\"x\"  ");
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("not quote but ended by quote"));
    QStringList items;
    QString rest = line;
    while (!rest.isEmpty()) {
        QString item;
        rest = ::takeItem(rest, item);
        items << item;
    }
    QCOMPARE(items, QStringList({"Works_Dir", "my works", "next\"x\"", ""}));
}

void TestLineItems::splitComment_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("comment");

    QTest::newRow("no comment") << "key value"
                                << "key value"
                                << "unchanged";
    QTest::newRow("plain comment") << "key value # note"
                                   << "key value "
                                   << " note";
    QTest::newRow("only comment") << "# all of it"
                                  << ""
                                  << " all of it";
    QTest::newRow("hash in double quotes") << "k \"a#b\" # c"
                                           << "k \"a#b\" "
                                           << " c";
    QTest::newRow("hash in single quotes") << "k 'a#b'#c"
                                           << "k 'a#b'"
                                           << "c";
    QTest::newRow("apostrophe hides hash") << "Name Bob's # not cut"
                                           << "Name Bob's # not cut"
                                           << "unchanged";
    QTest::newRow("mixed quotes share one switch") << "k \"it's\" # x"
                                                   << "k \"it's\" # x"
                                                   << "unchanged";
    QTest::newRow("first hash wins") << "a # b # c"
                                     << "a "
                                     << " b # c";
    QTest::newRow("empty line") << ""
                                << ""
                                << "unchanged";
}

void TestLineItems::splitComment()
{
    QFETCH(QString, line);
    QFETCH(QString, before);
    QFETCH(QString, comment);

    QString got = QStringLiteral("unchanged");
    QCOMPARE(::splitComment(line, got), before);
    QCOMPARE(got, comment);
    QCOMPARE(::stripComment(line), before);
}

void TestLineItems::isBlankLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("blank");

    QTest::newRow("empty") << "" << true;
    QTest::newRow("blanks and tabs") << "  \t  " << true;
    QTest::newRow("comment only") << "# comment" << true;
    QTest::newRow("word") << "a" << false;
    QTest::newRow("word before comment") << " a # b" << false;
    QTest::newRow("quoted hash is text") << "\"#\"" << false;
    QTest::newRow("empty quotes are text") << "\"\"" << false;
}

void TestLineItems::isBlankLine()
{
    QFETCH(QString, line);
    QFETCH(bool, blank);
    QCOMPARE(::isBlankLine(line), blank);
}

void TestLineItems::trimmedItem_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("trimmed");

    QTest::newRow("one before, several after") << " abc    "
                                               << "abc";
    QTest::newRow("three before") << "   abc"
                                  << "abc";
    QTest::newRow("inner blanks kept") << "\t a  b \n"
                                       << "a  b";
    QTest::newRow("only blanks unchanged") << "    "
                                           << "    ";
    QTest::newRow("empty") << ""
                           << "";
}

void TestLineItems::trimmedItem()
{
    QFETCH(QString, text);
    QFETCH(QString, trimmed);
    QCOMPARE(::trimmedItem(text), trimmed);
}

void TestLineItems::startsWithPrefix_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<bool>("starts");

    QTest::newRow("tag") << "   9809  a b"
                         << "   9809" << true;
    QTest::newRow("one blank short") << "  9809  a b"
                                     << "   9809" << false;
    QTest::newRow("case matters") << " ring : x"
                                  << " Ring :" << false;
    QTest::newRow("line shorter than prefix") << " Ri"
                                              << " Ring :" << false;
    QTest::newRow("whole line is prefix") << " Ring :"
                                          << " Ring :" << true;
}

void TestLineItems::startsWithPrefix()
{
    QFETCH(QString, line);
    QFETCH(QString, prefix);
    QFETCH(bool, starts);
    QCOMPARE(::startsWithPrefix(line, prefix), starts);
}

void TestLineItems::itemsAfter_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QStringList>("items");

    QTest::newRow("ring line") << " Ring :  2.5 GeV  450.1 mA"
                               << " Ring :" << QStringList({"2.5", "GeV", "450.1", "mA"});
    QTest::newRow("trailing blank adds empty item") << " Mono : Si(111)  "
                                                    << " Mono :" << QStringList({"Si(111)", ""});
    QTest::newRow("no blank after crystal") << " Mono : Si(111)"
                                            << " Mono :" << QStringList({"Si(111)"});
    QTest::newRow("nothing after prefix") << "      Mode"
                                          << "      Mode" << QStringList();
    QTest::newRow("prefix length only, not content") << "XXXXa b"
                                                     << "1234" << QStringList({"a", "b"});
    QTest::newRow("quoted item") << "P: \"a b\" c"
                                 << "P:" << QStringList({"a b", "c"});
    QTest::newRow("only blanks after prefix") << "P:   "
                                              << "P:" << QStringList({""});
}

void TestLineItems::itemsAfter()
{
    QFETCH(QString, line);
    QFETCH(QString, prefix);
    QFETCH(QStringList, items);
    QCOMPARE(::itemsAfter(line, prefix), items);
}

QTEST_GUILESS_MAIN(TestLineItems)
#include "TestLineItems.moc"

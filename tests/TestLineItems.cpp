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

void TestLineItems::items_data()
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

void TestLineItems::items()
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
    QTEST(got + (DebugCapture::lines().isEmpty() ? "" : "!"), "expected");
}

QTEST_GUILESS_MAIN(TestLineItems)
#include "TestLineItems.moc"

// index.html pieces, byte for byte.

#include "works/IndexPage.h"

#include <QTextStream>
#include <QtTest>

namespace {

const QString head = "<html>\n  <head>\n    <title> XAFS Data </title>\n  </head>\n  <body>\n"
                     "    <h1> XAFS Data </h1>\n    <table>\n";
const QString tail = "    </table>\n  </body>\n</html>\n";

// A row once its folder and base name are encoded for links (href, src) and
// escaped for text; the "one work" row spells the layout out in full.
QString row(const QString &folder, const QString &base, const QString &text)
{
    const QString at = ".//" + folder + "//";
    return QString(
               "<tr><td><a href=\"%1%2.png\"> <img src=\"%1%2.png\" width=\"64\" height=\"64\"> "
               "</a></td><td><a href=\"%1%2.dat\"> %3 </a></td><td><a href=\"%1metadata.yml\"> "
               "meta </a></td><td><a href=\"%1%2.png\"> picture </a></td></tr>\n")
        .arg(at, base, text);
}

} // namespace

class TestIndexPage : public QObject
{
    Q_OBJECT
private slots:
    void page_data();
    void page();
};

// clang-format off
void TestIndexPage::page_data()
{
    QTest::addColumn<QStringList>("works"); // workName, fileBase, workName, fileBase, ...
    QTest::addColumn<QString>("rows");

    QTest::newRow("no works") << QStringList() << "";
    QTest::newRow("one work") << QStringList{"work-0001", "s1"} << "<tr><td><a href=\".//work-0001//s1.png\"> <img src=\".//work-0001//s1.png\" width=\"64\" height=\"64\"> </a></td><td><a href=\".//work-0001//s1.dat\"> s1 </a></td><td><a href=\".//work-0001//metadata.yml\"> meta </a></td><td><a href=\".//work-0001//s1.png\"> picture </a></td></tr>\n";
    QTest::newRow("two works in order") << QStringList{"-0001", "a", "-0002", "b"} << row("-0001", "a", "a") + row("-0002", "b", "b");
    QTest::newRow("markup characters escaped") << QStringList{"w&<1>", "a\"b"} << row("w&amp;&lt;1&gt;", "a&quot;b", "a&quot;b");
    QTest::newRow("url characters encoded in links only") << QStringList{"w#1?", "50%"} << row("w%231%3F", "50%25", "50%");
    QTest::newRow("encoded then escaped") << QStringList{"&#", "%23"} << row("&amp;%23", "%2523", "%23");
    QTest::newRow("placeholders kept") << QStringList{"%2", "%1"} << row("%252", "%251", "%1");
    QTest::newRow("slash in folder kept") << QStringList{"w-a/b-0001", "s"} << row("w-a/b-0001", "s", "s");
}
// clang-format on

void TestIndexPage::page()
{
    QFETCH(QStringList, works);
    QFETCH(QString, rows);
    QString page;
    QTextStream out(&page);
    writeIndexHead(out, "XAFS Data", "XAFS Data");
    for (int i = 0; i + 1 < works.size(); i += 2)
        writeIndexRow(out, works[i], works[i + 1]);
    writeIndexTail(out);
    out.flush();
    QCOMPARE(page, head + rows + tail);
}

QTEST_GUILESS_MAIN(TestIndexPage)
#include "TestIndexPage.moc"

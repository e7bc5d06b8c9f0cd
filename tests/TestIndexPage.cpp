// index.html pieces, byte for byte.

#include "works/IndexPage.h"

#include <QTextStream>
#include <QtTest>

namespace {

const QString head = "<html>\n"
                     "  <head>\n"
                     "    <title> XAFS Data </title>\n"
                     "  </head>\n"
                     "  <body>\n"
                     "    <h1> XAFS Data </h1>\n"
                     "    <table>\n";
const QString tail = "    </table>\n"
                     "  </body>\n"
                     "</html>\n";

} // namespace

class TestIndexPage : public QObject
{
    Q_OBJECT
private slots:
    void page_data();
    void page();
};

void TestIndexPage::page_data()
{
    QTest::addColumn<QStringList>("works"); // workName, fileBase, workName, fileBase, ...
    QTest::addColumn<QString>("rows");

    QTest::newRow("no works") << QStringList() << "";
    QTest::newRow("one work")
        << QStringList{"work-0001", "s1"}
        << "<tr><td><a href=\".//work-0001//s1.png\"> <img src=\".//work-0001//s1.png\" "
           "width=\"64\" height=\"64\"> </a></td>"
           "<td><a href=\".//work-0001//s1.dat\"> s1 </a></td>"
           "<td><a href=\".//work-0001//metadata.yml\"> meta </a></td>"
           "<td><a href=\".//work-0001//s1.png\"> picture </a></td></tr>\n";
    QTest::newRow("two works in order")
        << QStringList{"-0001", "a", "-0002", "b"}
        << "<tr><td><a href=\".//-0001//a.png\"> <img src=\".//-0001//a.png\" width=\"64\" "
           "height=\"64\"> </a></td><td><a href=\".//-0001//a.dat\"> a </a></td>"
           "<td><a href=\".//-0001//metadata.yml\"> meta </a></td>"
           "<td><a href=\".//-0001//a.png\"> picture </a></td></tr>\n"
           "<tr><td><a href=\".//-0002//b.png\"> <img src=\".//-0002//b.png\" width=\"64\" "
           "height=\"64\"> </a></td><td><a href=\".//-0002//b.dat\"> b </a></td>"
           "<td><a href=\".//-0002//metadata.yml\"> meta </a></td>"
           "<td><a href=\".//-0002//b.png\"> picture </a></td></tr>\n";
    QTest::newRow("markup characters escaped")
        << QStringList{"w&<1>", "a\"b"}
        << "<tr><td><a href=\".//w&amp;&lt;1&gt;//a&quot;b.png\"> "
           "<img src=\".//w&amp;&lt;1&gt;//a&quot;b.png\" width=\"64\" height=\"64\"> </a></td>"
           "<td><a href=\".//w&amp;&lt;1&gt;//a&quot;b.dat\"> a&quot;b </a></td>"
           "<td><a href=\".//w&amp;&lt;1&gt;//metadata.yml\"> meta </a></td>"
           "<td><a href=\".//w&amp;&lt;1&gt;//a&quot;b.png\"> picture </a></td></tr>\n";
    QTest::newRow("url characters encoded in links only")
        << QStringList{"w#1?", "50%"}
        << "<tr><td><a href=\".//w%231%3F//50%25.png\"> <img src=\".//w%231%3F//50%25.png\" "
           "width=\"64\" height=\"64\"> </a></td>"
           "<td><a href=\".//w%231%3F//50%25.dat\"> 50% </a></td>"
           "<td><a href=\".//w%231%3F//metadata.yml\"> meta </a></td>"
           "<td><a href=\".//w%231%3F//50%25.png\"> picture </a></td></tr>\n";
    QTest::newRow("encoded then escaped")
        << QStringList{"&#", "%23"}
        << "<tr><td><a href=\".//&amp;%23//%2523.png\"> <img src=\".//&amp;%23//%2523.png\" "
           "width=\"64\" height=\"64\"> </a></td>"
           "<td><a href=\".//&amp;%23//%2523.dat\"> %23 </a></td>"
           "<td><a href=\".//&amp;%23//metadata.yml\"> meta </a></td>"
           "<td><a href=\".//&amp;%23//%2523.png\"> picture </a></td></tr>\n";
    QTest::newRow("placeholders kept") << QStringList{"%2", "%1"}
                                       << "<tr><td><a href=\".//%252//%251.png\"> <img "
                                          "src=\".//%252//%251.png\" width=\"64\" height=\"64\"> "
                                          "</a></td><td><a href=\".//%252//%251.dat\"> %1 "
                                          "</a></td><td><a href=\".//%252//metadata.yml\"> meta "
                                          "</a></td><td><a href=\".//%252//%251.png\"> picture "
                                          "</a></td></tr>\n";
    QTest::newRow("slash in folder kept")
        << QStringList{"w-a/b-0001", "s"}
        << "<tr><td><a href=\".//w-a/b-0001//s.png\"> <img src=\".//w-a/b-0001//s.png\" "
           "width=\"64\" height=\"64\"> </a></td>"
           "<td><a href=\".//w-a/b-0001//s.dat\"> s </a></td>"
           "<td><a href=\".//w-a/b-0001//metadata.yml\"> meta </a></td>"
           "<td><a href=\".//w-a/b-0001//s.png\"> picture </a></td></tr>\n";
}

void TestIndexPage::page()
{
    QFETCH(QStringList, works);
    QFETCH(QString, rows);

    QString page;
    QTextStream out(&page);
    writeIndexHead(out, "XAFS Data", "XAFS Data");
    for (int i = 0; i + 1 < works.size(); i += 2)
        writeIndexRow(out, works.at(i), works.at(i + 1));
    writeIndexTail(out);
    out.flush();
    QCOMPARE(page, head + rows + tail);
}

QTEST_GUILESS_MAIN(TestIndexPage)
#include "TestIndexPage.moc"

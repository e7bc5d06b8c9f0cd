// catalogue.html: each work's facts read from its own data copy, every text escaped, the XDI
// file's element and edge, and every work of the folder after several passes.

#include "works/Catalogue.h"
#include "works/KnownWorks.h"
#include "works/WorkPass.h"

#include "TestSupport.h"

namespace {

// The inner HTML of every cell of the page's rows, a row's cells joined by " | ".
QStringList rowCells(const QString &page)
{
    const QString body = page.section("<tbody>\n", 1).section("</tbody>", 0, 0);
    const QRegularExpression cell("<td[^>]*>(.*?)</td>");
    QStringList rows;
    for (const QString &row : body.split('\n', Qt::SkipEmptyParts)) {
        QStringList cells;
        for (auto it = cell.globalMatch(row); it.hasNext();)
            cells << it.next().captured(1);
        rows << cells.join(" | ");
    }
    return rows;
}

} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT
private slots:
    void xdiHeader_data();
    void xdiHeader();
    void row_data();
    void row();
    void everyWorkOfTwoPasses();
};

void TestCatalogue::xdiHeader_data()
{
    QTest::addColumn<QString>("xdi");
    QTest::addColumn<QString>("found");

    QTest::newRow("both") << "# XDI/1.0\n# Element.symbol: Cu\n# Element.edge: K\n"
                          << "Cu K";
    QTest::newRow("any case, no blanks") << "#element.SYMBOL:Fe\n#ELEMENT.edge:L3\n"
                                         << "Fe L3";
    QTest::newRow("fields end at ///") << "# Element.symbol: Zn\n# ///\n# Element.edge: K\n"
                                       << "Zn ";
    QTest::newRow("data ends the header") << "# Element.edge: K\n8979 1.0\n# Element.symbol: Ni\n"
                                          << " K";
    QTest::newRow("CRLF, value trimmed") << "# Element.symbol:  Pt \r\n# Element.edge: L3\r\n"
                                         << "Pt L3";
    QTest::newRow("neither") << "# Mono.name: Si 111\n"
                             << " ";
}

void TestCatalogue::xdiHeader()
{
    QFETCH(QString, xdi);
    QFETCH(QString, found);
    QString element = "old", edge = "old";
    xdiElementEdge(xdi.toUtf8(), element, edge);
    QCOMPARE(element + ' ' + edge, found);
}

void TestCatalogue::row_data()
{
    QTest::addColumn<QString>("source");    // an example data file, or text for a stray file
    QTest::addColumn<QString>("folder");    // the work folder
    QTest::addColumn<QString>("sample");    // replaces "Cu foil 7um" in the copy
    QTest::addColumn<QString>("xdi");       // the XDI file, none when empty
    QTest::addColumn<QString>("cells");     // the row's cells but the first and last
    QTest::addColumn<QStringList>("links"); // the last cell's targets

    QTest::newRow("transmission step scan")
        << "Cu_foil_K_001.dat"
        << "w-0001"
        << ""
        << ""
        << "w-0001 | Cu foil 7um | 2026-11-30 21:14:03.000 | BLC2B | transmission | 459 | "
           "8680.0 – 9796.0 |  | "
        << QStringList{"w-0001/metadata.yml", "w-0001/Cu_foil_K_001.dat",
                       "w-0001/Cu_foil_K_001.png"};
    QTest::newRow("fluorescence, XDI names the edge")
        << "Cu_sulfate_fl_006.dat"
        << "w-0002"
        << ""
        << "# Element.symbol: Cu\n# Element.edge: K\n"
        << "w-0002 | CuSO4 1mM aq | 2026-12-01 13:05:31.000 | BLA7 | fluorescence | 517 | "
           "8700.0 – 9697.0 | Cu | K"
        << QStringList{"w-0002/metadata.yml", "w-0002/Cu_sulfate_fl_006.dat",
                       "w-0002/Cu_sulfate_fl_006.png", "w-0002/Cu_sulfate_fl_006.xdi"};
    QTest::newRow("quick scan, markup and Japanese in names")
        << "Cu_foil_quick_007.qd"
        << "q<&\"#%日本'"
        << "<b>&\"試料\"'xy"
        << ""
        << "q&lt;&amp;&quot;#%日本' | &lt;b&gt;&amp;&quot;試料&quot;'xy | "
           "2026-12-01 14:20:05.000 | BLC2B | transmission | 600 | 8750.0 – 9647.9 |  | "
        << QStringList{"q&lt;&amp;&quot;%23%25日本'/metadata.yml",
                       "q&lt;&amp;&quot;%23%25日本'/Cu_foil_quick_007.qd",
                       "q&lt;&amp;&quot;%23%25日本'/Cu_foil_quick_007.png"};
    QTest::newRow("no 9809 file, no picture")
        << "notes.dat"
        << "w-0004"
        << ""
        << ""
        << "w-0004 |  |  |  |  |  |  |  | "
        << QStringList{"w-0004/metadata.yml", "w-0004/notes.dat"};
}

void TestCatalogue::row()
{
    QFETCH(QString, source);
    QFETCH(QString, folder);
    QFETCH(QString, sample);
    QFETCH(QString, xdi);
    QFETCH(QString, cells);
    QFETCH(QStringList, links);

    QTemporaryDir tmp;
    QDir work(tmp.path());
    QVERIFY(work.mkpath(folder) && work.cd(folder));
    const QString base = QFileInfo(source).completeBaseName();
    QString text = readTextFile(sourcePath("examples/" + source));
    if (!sample.isEmpty())
        text.replace("Cu foil 7um", sample);
    QVERIFY(writeTextFile(work.filePath(source), text.isEmpty() ? "no scan here\n" : text));
    QVERIFY(writeTextFile(work.filePath("metadata.yml"), "a: b\n"));
    QVERIFY(text.isEmpty() || writeTextFile(work.filePath(base + ".png"), "png"));
    QVERIFY(xdi.isEmpty() || writeTextFile(work.filePath(base + ".xdi"), xdi));

    KnownWorks known;
    known.read(QDir(tmp.path()), {}, {});
    const QString page =
        cataloguePage(tmp.path(), readCatalogue(tmp.path(), known.copiesByFolder()),
                      QDateTime::currentDateTime());
    const QStringList rows = rowCells(page);
    QCOMPARE(rows.size(), 1);
    const QStringList all = rows[0].split(" | ");
    QCOMPARE(QStringList(all.mid(1, all.size() - 2)).join(" | "), cells);
    QStringList hrefs;
    const QRegularExpression href("href=\"([^\"]*)\"");
    for (auto it = href.globalMatch(all.last()); it.hasNext();)
        hrefs << it.next().captured(1);
    QCOMPARE(hrefs, links);
    // The picture, a click away from its thumbnail.
    QCOMPARE(all.first().isEmpty(), text.isEmpty());
    QVERIFY(text.isEmpty() || all.first().contains("src=\"" + links[2] + "\""));
}

void TestCatalogue::everyWorkOfTwoPasses()
{
    QTemporaryDir tmp;
    const QDir worksDir(tmp.path());
    MetaTemplate tpl;
    WorkOptions options;
    options.useWork = true;
    options.work = "night";
    options.imageSize = QSize(48, 32);
    const QStringList passes[] = {{"Cu_foil_K_001.dat", "CuO_K_002.dat"}, {"Cu2O_K_003.dat"}};
    for (const QStringList &files : passes) {
        std::vector<std::unique_ptr<DataSet>> owned;
        QList<DataSet *> sets;
        for (const QString &file : files) {
            owned.push_back(std::make_unique<DataSet>());
            owned.back()->openFile(true, sourcePath("examples/" + file), &tpl);
            sets << owned.back().get();
        }
        QVERIFY(runWorkPass(worksDir, sets, options, tpl, CommonValues()));
    }
    const QString page = QString::fromUtf8(readBytes(worksDir.filePath("catalogue.html")));
    QStringList folders;
    for (const QString &row : rowCells(page))
        folders << row.section(" | ", 1, 1);
    QCOMPARE(folders.join(' '), "night-0001 night-0002 night-0003");
    QVERIFY(page.contains(QString("<h1>Works in %1</h1>").arg(worksDir.absolutePath())));
    QVERIFY(page.contains("<p id=\"summary\">3 works; made "));
}

QTEST_MAIN(TestCatalogue)
#include "TestCatalogue.moc"

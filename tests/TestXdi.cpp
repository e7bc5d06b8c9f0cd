// The XDI file of a work: its columns and rows, and the element and edge found at the step.

#include "data/DataSet.h"
#include "data/Edges.h"
#include "template/MetaTemplate.h"
#include "ui/Body.h"
#include "works/WorkPass.h"
#include "works/Xdi.h"

#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>

#include <cmath>
#include <random>

namespace {

// A scan by hand: an edge step at e0 eV, channels as modes says, I0 in the first channel of
// mode 1; the others count I0 / e^mu (transmission) or I0 x mu / 10 (fluorescence), plus
// their own index, so that each column shows which channel it took.
DataSet scan(const QVector<double> &energies, double e0, const QVector<int> &modes,
             const QString &scanLine = QString())
{
    DataSet set;
    set.header.modes = modes;
    set.header.scanLine = scanLine;
    const AbsorbanceChannels ch = absorbanceChannels(set.header);
    for (int i = 0; i < energies.size(); ++i) {
        DataPoint p;
        p.energy = energies[i];
        p.obsAngle = 10 + i * 0.001;
        p.angle = 10 + i * 0.002;
        p.dwell = 1 + i % 3;
        // A little deterministic noise, so that no slope is exactly flat.
        const double mu = 0.3 + 1.0 / (1 + std::exp((e0 - p.energy) / 1.5)) + 1e-4 * (i % 7);
        for (int k = 0; k < modes.size(); ++k)
            p.counts << (k == ch.i0 ? 1e5 + k
                                    : (ch.fluorescence ? 1e4 * mu : 1e5 / std::exp(mu)) + k);
        set.points << p;
    }
    return set;
}

QVector<double> grid(double from, double to, double step)
{
    QVector<double> e;
    for (double x = from; x <= to; x += step)
        e << x;
    return e;
}

QStringList xdiLines(const DataSet &set, const CommonValues &common = {})
{
    return QString::fromUtf8(xdiText(set, common).bytes).split('\n');
}

QString field(const QStringList &lines, const QString &name)
{
    for (const QString &line : lines)
        if (line.startsWith("# " + name + ": "))
            return line.mid(name.size() + 4);
    return QString();
}

} // namespace

class TestXdi : public QObject
{
    Q_OBJECT

private slots:
    void columns_data()
    {
        QTest::addColumn<QVector<int>>("modes");
        QTest::addColumn<QString>("scanLine");
        QTest::addColumn<QString>("labels");
        QTest::addColumn<QString>("firstRow"); // channels, as the columns after count_time
        QTest::newRow("transmission, reference") << QVector<int>{1, 2, 1} << ""
                                                 << "i0 itrans irefer mutrans"
                                                 << "100000 74083 74084";
        QTest::newRow("I0 in channel 2, It the first of mode 2, the reference of mode 1")
            << QVector<int>{3, 1, 1, 2} << ""
            << "i0 itrans ch1 irefer mutrans"
            << "100001 74085 74082 74084";
        QTest::newRow("fluorescence by line 6: summed, each, others")
            << QVector<int>{3, 1, 3, 2} << "BLX Fluorescence( 3)"
            << "i0 ifluor ifluor_ch1 ifluor_ch3 ch4 mufluor"
            << "100001 6002 3000 3002 3003";
        QTest::newRow("one fluorescence channel is not repeated") << QVector<int>{1, 3} << ""
                                                                  << "i0 ifluor mufluor"
                                                                  << "100000 3001";
    }
    void columns()
    {
        QFETCH(QVector<int>, modes);
        QFETCH(QString, scanLine);
        QFETCH(QString, labels);
        QFETCH(QString, firstRow);
        const DataSet set = scan({8000}, 9000, modes, scanLine);
        const QStringList lines = xdiLines(set);
        const int end = lines.indexOf("#----");
        QCOMPARE(lines.at(end + 1), "# energy angle angle_command count_time " + labels);
        const QStringList row = lines.at(end + 2).split(' ', Qt::SkipEmptyParts);
        QStringList rounded;
        for (int c = 4; c + 1 < row.size(); ++c)
            rounded << QString::number(std::round(row[c].toDouble()));
        QCOMPARE(rounded.join(' '), firstRow);
        // The curve the thumbnail draws, to the last bit.
        QCOMPARE(row.last().toDouble(),
                 absorbance(absorbanceChannels(set.header), set.points[0].counts));
        QCOMPARE(field(lines, "Column.3"), "angle_command degrees");
    }

    // Rows rise in energy, equal energies in file order; the step back is recorded.
    void rowsSortedStably()
    {
        DataSet set = scan({8990, 9000, 9010, 9000.7, 9000.7, 9020}, 9000, {1, 2});
        set.points[3].dwell = 7;
        set.points[4].dwell = 8;
        const QStringList lines = xdiLines(set);
        const int end = lines.indexOf("#----");
        QStringList energies, dwells;
        for (int i = end + 2; i < lines.size() - 1; ++i) {
            energies << lines[i].split(' ', Qt::SkipEmptyParts).at(0);
            dwells << lines[i].split(' ', Qt::SkipEmptyParts).at(3);
        }
        QCOMPARE(energies.join(' '), "8990 9000 9000.7 9000.7 9010 9020");
        QCOMPARE(dwells.join(' '), "1 2 7 8 3 3");
        QVERIFY(field(lines, "korvane.row_order").contains("fell 1 times, by at most 9.300 eV"));
        QCOMPARE(lines.last(), QString()); // LF after the last row
    }

    // The comment may not end the header early; a too long scan gets no file, only a note.
    void headerAndLimits()
    {
        DataSet set = scan(grid(8800, 9300, 1), 8985, {1, 2});
        set.header.comment = "----- first try";
        set.header.crystal = "Si(311)";
        set.units.d = 1.637418;
        const QStringList lines = xdiLines(set);
        QCOMPARE(lines.count("#----"), 1);
        QVERIFY(lines.contains("# \\----- first try"));
        QCOMPARE(field(lines, "Mono.d_spacing"), "1.637418");
        QCOMPARE(field(lines, "Element.symbol") + field(lines, "Element.edge"), "CuK");
        // The reader counts bytes: a Japanese character is three.
        set.header.comment = QString(1000, QChar(0x8A66));
        for (const QByteArray &line : xdiText(set, {}).bytes.split('\n'))
            QVERIFY(line.size() <= xdiMaxLineLength && !line.endsWith('\xe8'));

        const DataSet huge = scan(grid(8000, 8000 + xdiMaxLines * 0.1, 0.1), 8985, {1, 2});
        const XdiText text = xdiText(huge, {});
        QVERIFY(text.tooLong && text.bytes.isEmpty());
        QVERIFY(text.note.contains(QString::number(xdiMaxLines)));
        QTemporaryDir dir;
        XdiText written;
        QVERIFY(writeXdiFile(dir.filePath("huge.xdi"), huge, {}, &written));
        QVERIFY(!QFile::exists(dir.filePath("huge.xdi")));
        QVERIFY(writeTextFile(dir.filePath("file"), "x"));
        QString why;
        QVERIFY(!writeXdiFile(dir.filePath("file/a.xdi"), set, {}, &written, &why));
        QVERIFY(!why.isEmpty());
    }

    // In a pass: a scan too long for the format gets no XDI, but its work is made and counted;
    // an XDI that cannot be written is a failure of its work.
    void inPass_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<bool>("blocked");    // a folder where the XDI goes
        QTest::addColumn<QString>("outcome"); // made, failures, left out, notes, file there
        QTest::newRow("written") << 500 << false << "1 0 0 0 xdi";
        QTest::newRow("too long") << xdiMaxLines << false << "1 0 1 1 -";
        QTest::newRow("blocked") << 500 << true << "0 1 0 0 -";
    }
    void inPass()
    {
        QFETCH(int, points);
        QFETCH(bool, blocked);
        QFETCH(QString, outcome);
        QTemporaryDir dir;
        DataSet set = scan(grid(8900, 8900 + points * 0.5 - 0.1, 0.5), 8985, {1, 2});
        set.path = dir.filePath("s.dat");
        set.baseName = "s";
        set.meta["SYS_001"] = "1";
        QVERIFY(writeTextFile(set.path, "the scan's bytes"));
        WorkOptions options;
        options.writeXdi = true;
        options.imageSize = QSize(64, 48);
        const QDir works(dir.filePath("works"));
        if (blocked)
            QVERIFY(QDir().mkpath(works.filePath("-0001/s.xdi")));
        WorkPassReport report;
        runWorkPass(works, {&set}, options, MetaTemplate(), {}, &report);
        const bool there = QFileInfo(works.filePath("-0001/s.xdi")).isFile();
        QCOMPARE(QString("%1 %2 %3 %4 %5")
                     .arg(report.made.size())
                     .arg(report.failures.size())
                     .arg(report.xdiLeftOut)
                     .arg(report.xdiNotes.size())
                     .arg(there ? "xdi" : "-"),
                 outcome);
    }

    // The window's status line tells what an XDI left undecided, beside the works made.
    void statusLine()
    {
        QTemporaryDir dir;
        const QString foil = readTextFile(sourcePath("examples/Cu_foil_K_001.dat"));
        const QString tie = dir.filePath("tie.dat");
        QVERIFY(writeTextFile(tie, QString(foil).replace("3.1355316", "2.22366")));
        const auto body = makeBody({"-xdi", "1"});
        QVERIFY(body->ui.WriteXdi->isChecked());
        QCOMPARE(body->openDataFile(tie), Body::Opening::Opened);
        body->genWorks(dir.filePath("w"));
        QCOMPARE(body->statusText->text(),
                 QString("Works made in %1: 1 of 1; XDI notes: 1 — %2: the edge at 12661.2 eV "
                         "may be Se K or Tl L3; the XDI says Se K")
                     .arg(dir.filePath("w"), tie));
    }

    // The user's element and edge win over the data; a half answer narrows the table.
    void userElement_data()
    {
        QTest::addColumn<QString>("symbol");
        QTest::addColumn<QString>("edge");
        QTest::addColumn<QString>("written");
        QTest::newRow("both, any case, against the data") << "fe"
                                                          << "k"
                                                          << "FeK given";
        QTest::newRow("none: found at 12661 eV, a tie") << ""
                                                        << ""
                                                        << "SeK estimated";
        QTest::newRow("the element decides the tie") << "Tl"
                                                     << ""
                                                     << "TlL3 estimated";
        QTest::newRow("the edge decides the tie") << ""
                                                  << "L3"
                                                  << "TlL3 estimated";
        QTest::newRow("unknown to the table") << "Xx"
                                              << "K"
                                              << " none";
    }
    void userElement()
    {
        QFETCH(QString, symbol);
        QFETCH(QString, edge);
        QFETCH(QString, written);
        DataSet set = scan(grid(12500, 12900, 1), 12661, {1, 2});
        set.meta["SMPL_011"] = symbol;
        const CommonValues common{{"SMPL_012", edge}};
        const QStringList lines = xdiLines(set, common);
        QCOMPARE(field(lines, "Element.symbol") + field(lines, "Element.edge") + ' ' +
                     field(lines, "korvane.element_from").section(' ', 0, 0).remove(':'),
                 written);
    }

    void ties_data()
    {
        QTest::addColumn<double>("e0");
        QTest::addColumn<QStringList>("hints");
        QTest::addColumn<QString>("found"); // symbol edge, then a or h: ambiguous, by a hint
        QTest::newRow("Se K or Tl L3") << 12661.0 << QStringList{} << "Se K a Tl L3";
        QTest::newRow("La L3 -5 eV or V K +13 eV") << 5478.0 << QStringList{} << "La L3 a V K";
        QTest::newRow("La L3 +3 eV, not V K +21 eV") << 5486.0 << QStringList{} << "La L3 ";
        QTest::newRow("the sample names Tl") << 12661.0 << QStringList{"Tl2O3 pellet"} << "Tl L3 h";
        QTest::newRow("a lower-case parameter file")
            << 12661.0 << QStringList{"se_k.prm"} << "Se K ";
        QTest::newRow("a hint never beats the energy") << 8985.0 << QStringList{"Zn"} << "Cu K ";
        QTest::newRow("Fe in FeS2, not S") << 7117.0 << QStringList{"FeS2-dil"} << "Fe K ";
        QTest::newRow("Pb L2 named, Rb K by kind") << 15200.0 << QStringList{"Pb-L2"} << "Pb L2 h";
        QTest::newRow("no edge within 30 eV") << 2750.0 << QStringList{} << "  ";
    }
    void ties()
    {
        QFETCH(double, e0);
        QFETCH(QStringList, hints);
        QFETCH(QString, found);
        const EdgeMatch m = matchEdge(e0, hints);
        const QString how = m.ambiguous ? "a " + m.rival : (m.byHint ? "h" : "");
        QCOMPARE(m.symbol + ' ' + m.edge + ' ' + how, found);
    }

    // A step at every tabulated K and L3 edge from 4 to 30 keV, shifted 0, 5 and 10 eV: at
    // most 2 % named wrong, each of those marked ambiguous.
    void syntheticEdges()
    {
        int cases = 0, wrong = 0;
        QStringList unmarked;
        for (int i = 0; i < edgeEnergyCount; ++i) {
            const EdgeEnergy &edge = edgeEnergies[i];
            const QString kind = edge.edge;
            if ((kind != "K" && kind != "L3") || edge.energy < 4000 || edge.energy > 30000)
                continue;
            for (double shift : {0.0, 5.0, 10.0}) {
                const double e0 = edge.energy + shift;
                const DataSet set = scan(grid(e0 - 150, e0 + 300, 0.5), e0, {1, 2});
                QVector<double> energies, mus;
                for (const DataPoint &p : set.points) {
                    energies << p.energy;
                    mus << std::log(p.counts[0] / p.counts[1]);
                }
                const EdgeStep step = findEdgeStep(energies, mus);
                QVERIFY(step.found);
                QVERIFY2(std::abs(step.e0 - e0) < 0.5, qPrintable(QString::number(step.e0)));
                const EdgeMatch m = matchEdge(step.e0, {});
                ++cases;
                if (m.symbol != edge.symbol || m.edge != kind) {
                    ++wrong;
                    if (!m.ambiguous)
                        unmarked << QString("%1 %2 +%3").arg(edge.symbol, kind).arg(shift);
                }
            }
        }
        QVERIFY(cases > 200);
        QVERIFY2(wrong * 50 <= cases, qPrintable(QString("%1 of %2").arg(wrong).arg(cases)));
        QVERIFY2(unmarked.isEmpty(), qPrintable(unmarked.join(", ")));
    }

    // A flat or falling scan, and one whose rise is noise, has no edge.
    void noStep_data()
    {
        QTest::addColumn<double>("height");
        QTest::addColumn<double>("noise");
        QTest::addColumn<bool>("found");
        QTest::newRow("a step 20 x the noise") << 0.2 << 0.01 << true;
        QTest::newRow("a step 5 x the noise") << 0.05 << 0.01 << false;
        QTest::newRow("falling") << -1.0 << 0.001 << false;
        QTest::newRow("flat, no noise") << 0.0 << 0.0 << false;
    }
    void noStep()
    {
        QFETCH(double, height);
        QFETCH(double, noise);
        QFETCH(bool, found);
        QVector<double> e = grid(8800, 9200, 2), mu;
        std::mt19937 random(21);
        std::normal_distribution<double> gauss(0, noise > 0 ? noise : 1);
        for (int i = 0; i < e.size(); ++i)
            mu << height / (1 + std::exp(9000 - e[i])) + (noise > 0 ? gauss(random) : 0);
        QCOMPARE(findEdgeStep(e, mu).found, found);
    }

    // Each file of tests/data/real whose name or sample says its element gets that element.
    void realFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("element");
        const char *rows[][2] = {{"a-two-blanks-crlf.dat", "Cu K"},
                                 {"b-fluorescence-eof.dat", "Fe K"},
                                 {"c-nine-blocks-no-newline.dat", "Co K"},
                                 {"d-quick-scan.qd", "Cu K"},
                                 {"e-nine-channels-1998.dat", "Pb L2"},
                                 {"f-one-blank-aux-input.dat", "Ti K"},
                                 {"g-three-blanks-repitition.dat", "Hg L3"},
                                 {"h-extra-mode-fluorescence.dat", "Fe K"},
                                 {"i-nineteen-elements.dat", "Ni K"},
                                 {"j-quick-dotted-times.qd", "Fe K"},
                                 {"k-aborted-scan.dat", "Cu K"},
                                 {"l-path-as-sample.dat", "Cu K"},
                                 {"m-i0-mode-2-nineteen.dat", "Ni K"},
                                 {"n-mixed-modes.dat", "Cu K"},
                                 {"n-mixed-modes.qd", "Cu K"},
                                 {"o-unfinished-line-2.dat", "Cu K"}};
        for (const auto &row : rows)
            QTest::newRow(row[0]) << QString(row[0]) << QString(row[1]);
    }
    void realFiles()
    {
        QFETCH(QString, file);
        QFETCH(QString, element);
        DataSet set;
        set.openFile(true, testDataPath("real/" + file), nullptr);
        QVERIFY(set.ok);
        const QStringList lines = xdiLines(set);
        QCOMPARE(field(lines, "Element.symbol") + ' ' + field(lines, "Element.edge"), element);
    }
};

QTEST_MAIN(TestXdi)
#include "TestXdi.moc"

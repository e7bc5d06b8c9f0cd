// Measures opening, rendering and the generation pass on synthetic corpora,
// each beside a floor timed in the same run, so that the ratios hold on a
// busy machine. Usage:
//   korvane_bench [--quick | --split-opening [points per file] | --split-pass | --pass |
//                  --finding | --catalogue [points per file]]
//   (--split-opening and --split-pass print only the pieces of opening or of
//   the pass, for a profiler; --pass the generation pass and its pieces;
//   --memory DIR is the child run that measures peak memory.)

#include "data/DataSet.h"
#include "template/MetaTemplate.h"
#include "template/Render.h"
#include "text/AtomicFile.h"
#include "text/TextFile.h"
#include "works/Catalogue.h"
#include "works/Copy.h"
#include "works/KnownWorks.h"
#include "works/Thumbnail.h"
#include "works/WorkPass.h"
#include "works/Xdi.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QThreadPool>

#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

using namespace korvane;

namespace {

const QString exampleData = QStringLiteral(KORVANE_SOURCE_DIR "/examples/Cu_foil_K_001.dat");
const QString exampleInfo = QStringLiteral(KORVANE_SOURCE_DIR "/examples/Cu_foil_K_001.info");
const QString exampleTemplate = QStringLiteral(KORVANE_SOURCE_DIR "/examples/korvane-template.yml");

void say(const char *format, ...) __attribute__((format(printf, 1, 2)));
void say(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    std::vfprintf(stdout, format, args);
    va_end(args);
    std::fflush(stdout);
}

// The header of the example scan up to its "Offset" line.
QByteArray exampleHeader(int &lines)
{
    QFile file(exampleData);
    file.open(QIODevice::ReadOnly);
    QByteArray header;
    lines = 0;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        header += line;
        ++lines;
        if (line.startsWith("    Offset"))
            break;
    }
    return header;
}

// files scans of points lines each, with an info file beside every one: a
// Cu K-edge sweep with counts that rise over the edge and some noise.
struct Corpus
{
    QTemporaryDir dir;
    QStringList paths;
    int headerLines = 0;
    qint64 points = 0;

    Corpus(int files, int pointsPerFile)
    {
        const QByteArray header = exampleHeader(headerLines);
        QByteArray info;
        {
            QFile f(exampleInfo);
            f.open(QIODevice::ReadOnly);
            info = f.readAll();
        }
        quint32 noise = 12345;
        for (int i = 0; i < files; ++i) {
            const QString base =
                dir.filePath(QStringLiteral("scan_%1").arg(i, 5, 10, QLatin1Char('0')));
            QByteArray text = header;
            text.reserve(header.size() + pointsPerFile * 64);
            char line[128];
            for (int k = 0; k < pointsPerFile; ++k) {
                const double angle = 13.2 - 2.5 * k / pointsPerFile;
                noise = noise * 1664525u + 1013904223u;
                const int jitter = int(noise >> 27);
                const int i0 = 515000 + jitter * 37;
                const int i1 = int(i0 * (0.7 - 0.3 / (1 + std::exp((12.9 - angle) * 80))));
                const int n =
                    std::snprintf(line, sizeof line, "%11.5f%11.5f%9.2f%12d%12d%12d\n", angle,
                                  angle + (jitter - 16) * 1e-5, 1.0, i0, i1, i1 * 3 / 4 + jitter);
                text.append(line, n);
            }
            QFile data(base + QStringLiteral(".dat"));
            data.open(QIODevice::WriteOnly);
            data.write(text);
            QFile infoFile(base + QStringLiteral(".info"));
            infoFile.open(QIODevice::WriteOnly);
            infoFile.write(info);
            paths << base + QStringLiteral(".dat");
        }
        points = qint64(files) * pointsPerFile;
    }
};

// The least of a few runs: the one least disturbed by the rest of the machine.
// after runs untimed after each run: the window never frees what it opened,
// so freeing the records is no part of opening them.
double bestSeconds(int runs, const std::function<void()> &work,
                   const std::function<void()> &after = {})
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        work();
        best = std::min(best, clock.nsecsElapsed() * 1e-9);
        if (after)
            after();
    }
    return best;
}

// What opening can at best cost: the bytes of the files it reads (each scan
// and its info file) read as the readers read them, and every number of the
// data lines converted, nothing kept.
double fromCharsFloor(const Corpus &corpus)
{
    double sum = 0;
    for (const QString &path : corpus.paths) {
        QByteArray bytes, info;
        readTextFileBytes(path, bytes);
        readTextFileBytes(withSuffix(path, QStringLiteral("info")), info);
        sum += info.size();
        const char *p = bytes.constData();
        const char *end = p + bytes.size();
        for (int line = 0; line < corpus.headerLines && p < end; ++line)
            p = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p))) + 1;
        while (p < end) {
            while (p < end && (*p == ' ' || *p == '\n'))
                ++p;
            const char *start = p;
            while (p < end && *p != ' ' && *p != '\n')
                ++p;
            double value = 0;
            std::from_chars(start, p, value);
            sum += value;
        }
    }
    return sum;
}

using Records = std::vector<std::unique_ptr<DataSet>>;

void openInto(Records &sets, const Corpus &corpus, MetaTemplate *tpl)
{
    for (const QString &path : corpus.paths) {
        sets.push_back(std::make_unique<DataSet>());
        sets.back()->openFile(true, path, tpl);
    }
}

Records openAll(const Corpus &corpus, MetaTemplate *tpl)
{
    Records sets;
    openInto(sets, corpus, tpl);
    return sets;
}

// Times opening every file of the corpus, the records freed after the clock.
double openSeconds(int runs, const Corpus &corpus, MetaTemplate *tpl)
{
    Records sets;
    return bestSeconds(
        runs, [&] { openInto(sets, corpus, tpl); }, [&] { sets.clear(); });
}

struct OpenFigures
{
    double linesPerSecond, floorLinesPerSecond;
};

OpenFigures measureOpening(const Corpus &corpus, MetaTemplate &tpl, int runs)
{
    volatile double keep = 0;
    const double floor = bestSeconds(runs, [&] { keep = keep + fromCharsFloor(corpus); });
    const double open = openSeconds(runs, corpus, &tpl);
    return {corpus.points / open, corpus.points / floor};
}

struct PassFigures
{
    double serial, parallel; // works/s of the whole pass
    double png;              // works/s writing the indexed pictures as PNG alone
    double encoding;         // works/s of the palette conversion and the PNG writing
    double draw;             // works/s drawing the pictures alone
};

// The share of a pass at passRate that is not spent at floorRate, in percent.
double notEncodingShare(double passRate, double floorRate)
{
    return 100 * (1 - passRate / floorRate);
}

PassFigures measurePass(const Corpus &corpus, MetaTemplate &tpl, int runs)
{
    auto sets = openAll(corpus, &tpl);
    QList<DataSet *> list;
    for (auto &s : sets)
        list << s.get();
    const CommonValues common{{QStringLiteral("SMPL_001"), QStringLiteral("Cu foil")}};
    WorkOptions options;
    options.useWork = true;
    options.work = QStringLiteral("bench");
    // Every pass writes into a new folder, removed outside the clock.
    std::unique_ptr<QTemporaryDir> works;
    auto pass = [&](bool parallel) {
        QElapsedTimer clock;
        clock.start();
        works = std::make_unique<QTemporaryDir>();
        WorkPassReport report;
        report.parallel = parallel;
        runWorkPass(QDir(works->path()), list, options, tpl, common, &report);
        const double seconds = clock.nsecsElapsed() * 1e-9;
        works.reset();
        return seconds;
    };
    // The floors encode the very pictures the pass saves, as it saves them:
    // an exact palette first, then PNG writing of the indexed picture into a
    // new file, as the pass makes a new file.
    auto floors = [&](double &png, double &palette, double &draw) {
        QTemporaryDir encoded;
        png = palette = draw = 0;
        for (int i = 0; i < list.size(); ++i) {
            QElapsedTimer clock;
            clock.start();
            const QImage image = drawThumbnail(options.imageSize, *list.at(i));
            draw += clock.nsecsElapsed() * 1e-9;
            clock.restart();
            const QImage indexed = exactIndexed(image);
            palette += clock.nsecsElapsed() * 1e-9;
            clock.restart();
            (indexed.isNull() ? image : indexed)
                .save(encoded.filePath(QStringLiteral("%1.png").arg(i)), nullptr, -1);
            png += clock.nsecsElapsed() * 1e-9;
        }
    };
    // Each run takes the floors and both passes one after the other, so that
    // a busy moment of the machine weighs on all of them alike.
    double pngSeconds = 1e300, encodeSeconds = 1e300, drawSeconds = 1e300;
    double serial = 1e300, parallel = 1e300;
    for (int r = 0; r < runs; ++r) {
        double png, palette, draw;
        floors(png, palette, draw);
        pngSeconds = std::min(pngSeconds, png);
        encodeSeconds = std::min(encodeSeconds, palette + png);
        drawSeconds = std::min(drawSeconds, draw);
        serial = std::min(serial, pass(false));
        parallel = std::min(parallel, pass(true));
    }
    const double n = list.size();
    return {n / serial, n / parallel, n / pngSeconds, n / encodeSeconds, n / drawSeconds};
}

void sayPass(int works, const PassFigures &pass)
{
    say("generation pass (%d works, 1000 points, 1024 x 1024 pictures):\n"
        "  one thread        %10.1f works/s\n"
        "  every core        %10.1f works/s   speed-up %.2f\n"
        "  encoding floor    %10.1f works/s   (palette and PNG writing) not encoding: %.0f%% "
        "of the one-thread pass\n"
        "  PNG writing alone %10.1f works/s   not PNG writing: %.0f%% of the one-thread pass\n"
        "  drawing alone     %10.1f works/s\n\n",
        works, pass.serial, pass.parallel, pass.parallel / pass.serial, pass.encoding,
        notEncodingShare(pass.serial, pass.encoding), pass.png,
        notEncodingShare(pass.serial, pass.png), pass.draw);
}

// Finding works again: a pass lists the folders of the works folder once,
// then looks each scan up by its copy's name, and reads bytes only where a
// copy's size agrees.
// A works folder with a work for every scan of corpus, as an earlier pass
// left it.
void fillWorksFolder(const Corpus &corpus, const QString &folder)
{
    for (int i = 0; i < corpus.paths.size(); ++i) {
        const QString path = corpus.paths.at(i);
        const QString work = folder + QStringLiteral("/earlier-%1").arg(i + 1);
        const QString copy = work + QLatin1Char('/') + QFileInfo(path).fileName();
        QDir().mkpath(work);
        QFile::copy(path, copy);
        QFile::copy(withSuffix(path, QStringLiteral("info")),
                    withSuffix(copy, QStringLiteral("info")));
        QFile::copy(exampleTemplate, work + QStringLiteral("/metadata.yml"));
    }
}

void sayFinding(int works, int runs)
{
    Corpus corpus(works, 1000);
    QTemporaryDir folder;
    fillWorksFolder(corpus, folder.path());
    const QDir dir(folder.path());
    const double listing = bestSeconds(runs, [&] { KnownWorks().read(dir, {}, {}); });
    const double finding = bestSeconds(runs, [&] {
        KnownWorks known;
        known.read(dir, {}, {});
        for (const QString &path : corpus.paths)
            known.claimWork(QFileInfo(path).fileName(), path);
    });
    say("finding works again (%d works in the folder, every scan found):\n"
        "  listing the folder %8.1f ms\n"
        "  finding a scan     %8.1f us (reading both copies of %lld bytes)\n\n",
        works, 1e3 * listing, 1e6 * (finding - listing) / works,
        QFileInfo(corpus.paths.first()).size());
}

// What catalogue.html adds to a pass: listing the folder, reading every
// work's data copy and writing the page; beside it, what reading the copies'
// bytes alone costs.
void sayCatalogue(int works, int points, int runs)
{
    Corpus corpus(works, points);
    QTemporaryDir folder;
    fillWorksFolder(corpus, folder.path());
    const QDir dir(folder.path());
    const QString page = dir.filePath(QStringLiteral("catalogue.html"));
    int rows = 0;
    const double whole = bestSeconds(runs, [&] {
        KnownWorks known;
        known.read(dir, {}, {});
        const QVector<CatalogueEntry> entries = readCatalogue(dir.path(), known.copiesByFolder());
        rows = entries.size();
        writeFileAtomically(page, cataloguePage(dir.path(), entries, QDateTime()).toUtf8(),
                            Durability::Cached);
    });
    const double bytes = bestSeconds(runs, [&] {
        QByteArray data;
        for (int i = 0; i < works; ++i)
            readFileBytes(dir.filePath(QStringLiteral("earlier-%1/scan_%2.dat")
                                           .arg(i + 1)
                                           .arg(i, 5, 10, QLatin1Char('0'))),
                          data);
    });
    say("catalogue.html (%d works of %d points, %d rows, %.1f MB page):\n"
        "  the whole page     %8.1f ms (limit 1000 ms)\n"
        "  copies' bytes only %8.1f ms (one thread)\n\n",
        works, points, rows, QFileInfo(page).size() / 1e6, 1e3 * whole, 1e3 * bytes);
}

qint64 peakKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly | QIODevice::Text);
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    return -1;
}

// The child run: opens every scan of dir and reports the peak before and after.
int memoryChild(const QString &dir)
{
    MetaTemplate tpl;
    tpl.load(exampleTemplate);
    const qint64 before = peakKiB();
    std::vector<std::unique_ptr<DataSet>> sets;
    qint64 points = 0;
    for (const QString &name : QDir(dir).entryList({QStringLiteral("*.dat")}, QDir::Files)) {
        sets.push_back(std::make_unique<DataSet>());
        sets.back()->openFile(true, QDir(dir).filePath(name), &tpl);
        points += sets.back()->points.size();
    }
    std::printf("%lld %lld %lld\n", before, peakKiB(), points);
    return 0;
}

// Opening in its pieces, for a profiler: the data file alone, then with the
// info file and the metadata, beside the floor.
int splitOpening(int files = 200, int runs = 5, int points = 1000)
{
    MetaTemplate tpl;
    tpl.load(exampleTemplate);
    Corpus corpus(files, points);
    volatile double keep = 0;
    const double floor = bestSeconds(runs, [&] { keep = keep + fromCharsFloor(corpus); });
    Records sets;
    auto clear = [&] { sets.clear(); };
    const double data = bestSeconds(
        runs,
        [&] {
            for (const QString &path : corpus.paths) {
                sets.push_back(std::make_unique<DataSet>());
                sets.back()->read9809(path);
            }
        },
        clear);
    QStringList infoPaths;
    const double paths = bestSeconds(runs, [&] {
        infoPaths.clear();
        for (const QString &path : corpus.paths) {
            const QFileInfo file(path);
            file.canonicalPath();
            infoPaths << QFileInfo(file.absoluteDir(), file.baseName() + QStringLiteral(".info"))
                             .canonicalFilePath();
        }
    });
    const double info = bestSeconds(
        runs,
        [&] {
            for (const QString &path : qAsConst(infoPaths)) {
                sets.push_back(std::make_unique<DataSet>());
                sets.back()->readInfo(path);
            }
        },
        clear);
    // Without a template openFile extracts no metadata.
    const double bare = openSeconds(runs, corpus, nullptr);
    const double open = openSeconds(runs, corpus, &tpl);
    const double n = corpus.points;
    say("opening in pieces (%d files x %d points):\n"
        "  ns per data point: floor %.1f, data file alone (read9809) %.1f, openFile %.1f\n"
        "  us per file: paths %.1f, info file %.1f, metadata %.1f, the rest %.1f\n\n",
        files, int(n / files), 1e9 * floor / n, 1e9 * data / n, 1e9 * open / n, 1e6 * paths / files,
        1e6 * info / files, 1e6 * (open - bare) / files,
        1e6 * (bare - data - paths - info) / files);
    return 0;
}

// The pass in its pieces, each the sum over the works of one run.
int splitPass(int files = 40)
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    MetaTemplate tpl;
    tpl.load(exampleTemplate);
    Corpus corpus(files, 1000);
    const auto sets = openAll(corpus, &tpl);
    const CommonValues common{{QStringLiteral("SMPL_001"), QStringLiteral("Cu foil")}};
    enum
    {
        copies,
        metadata,
        xdi,
        drawing,
        palette,
        encoding,
        pieces
    };
    const char *names[] = {"copies", "metadata.yml", "XDI", "drawing", "palette", "encoding"};
    double seconds[pieces] = {};
    QTemporaryDir out;
    QElapsedTimer clock;
    auto lap = [&](int piece) {
        seconds[piece] += clock.nsecsElapsed() * 1e-9;
        clock.restart();
    };
    for (size_t i = 0; i < sets.size(); ++i) {
        const DataSet &set = *sets[i];
        const QString base = out.filePath(QString::number(i));
        clock.start();
        copyIfChanged(set.path, base + QStringLiteral(".dat"));
        copyIfChanged(withSuffix(set.path, QStringLiteral("info")), base + QStringLiteral(".info"));
        lap(copies);
        writeMetadataFile(base + QStringLiteral(".yml"), tpl, common, set.meta);
        lap(metadata);
        XdiText text;
        writeXdiFile(base + QStringLiteral(".xdi"), set, common, &text);
        lap(xdi);
        const QImage image = drawThumbnail(QSize(1024, 1024), set);
        lap(drawing);
        const QImage indexed = exactIndexed(image);
        lap(palette);
        indexed.save(base + QStringLiteral(".png"), nullptr, -1);
        lap(encoding);
    }
    say("the one-thread pass in pieces (%d works, ms per work):\n", files);
    double total = 0;
    for (int k = 0; k < pieces; ++k) {
        say("  %-14s %6.2f\n", names[k], 1e3 * seconds[k] / sets.size());
        total += seconds[k];
    }
    say("  not encoding: %.0f%% (palette counted as encoding), %.0f%% (PNG writing alone)\n\n",
        100 * (total - seconds[palette] - seconds[encoding]) / total,
        100 * (total - seconds[encoding]) / total);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args.at(1) == QLatin1String("--memory"))
        return memoryChild(args.at(2));
    if (args.size() >= 2 && args.size() <= 3 && args.at(1) == QLatin1String("--split-opening"))
        return splitOpening(200, 5, args.size() == 3 ? std::max(1, args.at(2).toInt()) : 1000);
    if (args.size() == 2 && args.at(1) == QLatin1String("--split-pass"))
        return splitPass();
    if (args.size() == 2 && args.at(1) == QLatin1String("--finding")) {
        sayFinding(2000, 3);
        return 0;
    }
    if (args.size() >= 2 && args.size() <= 3 && args.at(1) == QLatin1String("--catalogue")) {
        sayCatalogue(2000, args.size() == 3 ? std::max(1, args.at(2).toInt()) : 1000, 3);
        return 0;
    }
    if (args.size() == 2 && args.at(1) == QLatin1String("--pass")) {
        // The generation pass alone, as the full run measures it.
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
        MetaTemplate tpl;
        tpl.load(exampleTemplate);
        Corpus corpus(40, 1000);
        sayPass(corpus.paths.size(), measurePass(corpus, tpl, 3));
        return splitPass();
    }
    const bool quick = args.contains(QStringLiteral("--quick"));
    const int runs = quick ? 1 : 3;
    qSetMessagePattern(QString()); // the pass's diagnostics would drown the figures
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});

    MetaTemplate tpl;
    if (!tpl.load(exampleTemplate)) {
        say("cannot read %s\n", qPrintable(exampleTemplate));
        return 1;
    }
    say("korvane benchmark: %d cores, best of %d runs\n\n", QThread::idealThreadCount(), runs);

    {
        Corpus corpus(quick ? 50 : 200, 1000);
        const OpenFigures open = measureOpening(corpus, tpl, runs);
        say("opening (%d files x 1000 points):\n"
            "  openFile          %10.0f data lines/s\n"
            "  from_chars floor  %10.0f data lines/s   ratio %.2f\n\n",
            corpus.paths.size(), open.linesPerSecond, open.floorLinesPerSecond,
            open.linesPerSecond / open.floorLinesPerSecond);

        auto sets = openAll(corpus, &tpl);
        const CommonValues common{{QStringLiteral("SMPL_001"), QStringLiteral("Cu foil")}};
        QTemporaryDir out;
        const double render = bestSeconds(runs, [&] {
            for (size_t i = 0; i < sets.size(); ++i)
                writeMetadataFile(out.filePath(QStringLiteral("%1.yml").arg(i)), tpl, common,
                                  sets[i]->meta);
        });
        say("rendering (examples/korvane-template.yml):\n"
            "  metadata.yml      %10.0f files/s\n\n",
            sets.size() / render);
    }

    {
        Corpus corpus(quick ? 10 : 40, 1000);
        sayPass(corpus.paths.size(), measurePass(corpus, tpl, runs));
    }

    splitOpening(quick ? 50 : 200, runs);
    splitPass(quick ? 10 : 40);

    say("scaling, opening (ns per data point; floor):\n");
    const int pointSizes[] = {100, 10000, 100000};
    const int fileCounts[] = {10, 100, 1000};
    for (int points : pointSizes)
        for (int files : fileCounts) {
            // Beyond ten million points the corpus only costs disk and time.
            if (qint64(points) * files > (quick ? 1000000 : 10000000))
                continue;
            Corpus corpus(files, points);
            const OpenFigures open = measureOpening(corpus, tpl, 1);
            say("  %5d files x %6d points  %7.1f ns  (floor %5.1f ns)\n", files, points,
                1e9 / open.linesPerSecond, 1e9 / open.floorLinesPerSecond);
        }
    say("\nscaling, generation pass (ms per work, one thread / every core):\n");
    for (int files : fileCounts) {
        if (files > (quick ? 100 : 1000))
            continue;
        Corpus corpus(files, 1000);
        const PassFigures pass = measurePass(corpus, tpl, 1);
        say("  %5d files x   1000 points  %6.1f / %6.1f ms  (encoding floor %5.1f ms)\n", files,
            1e3 / pass.serial, 1e3 / pass.parallel, 1e3 / pass.encoding);
    }
    for (int points : pointSizes) {
        Corpus corpus(10, points);
        const PassFigures pass = measurePass(corpus, tpl, 1);
        say("     10 files x %6d points  %6.1f / %6.1f ms  (encoding floor %5.1f ms)\n", points,
            1e3 / pass.serial, 1e3 / pass.parallel, 1e3 / pass.encoding);
    }
    say("\n");
    sayFinding(quick ? 200 : 2000, runs);
    sayCatalogue(quick ? 200 : 2000, 1000, runs);

    {
        const int files = quick ? 100 : 1000;
        Corpus corpus(files, 10000);
        QProcess child;
        child.start(app.applicationFilePath(), {QStringLiteral("--memory"), corpus.dir.path()});
        child.waitForFinished(-1);
        const QList<QByteArray> figures = child.readAllStandardOutput().trimmed().split(' ');
        if (figures.size() == 3) {
            const double kib = figures.at(1).toDouble() - figures.at(0).toDouble();
            say("\nmemory (%d files x 10000 points opened): peak %.0f MiB more, %.1f bytes per "
                "data point\n",
                files, kib / 1024, kib * 1024 / figures.at(2).toDouble());
        }
    }
    return 0;
}

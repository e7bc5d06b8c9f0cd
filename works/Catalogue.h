#pragma once
// catalogue.html: every work of a works folder, whichever pass made it, with
// the facts of its scan read from its own data copy, so that a night's or a
// year's works can be sorted and searched in a browser.

#include <QDateTime>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

class QDir;

namespace korvane {

struct CatalogueEntry
{
    QString folder;   // the work folder's name
    QString copyName; // its data copy
    QString fileBase; // the name its picture and XDI file are made of
    bool hasPicture = false;
    bool hasXdi = false;
    bool read = false; // the copy read as a 9809 file; the facts below are empty if not
    QString sample;
    QString start;           // as metadata.yml shows it
    qint64 startSortKey = 0; // milliseconds since the epoch, 0 when unknown
    QString beamline;
    bool fluorescence = false;
    int points = 0;
    double energyMin = 0, energyMax = 0; // eV
    QString element, edge;               // from the XDI file, "" when unknown
};

// The element symbol and absorption edge an XDI file's header names.
void xdiElementEdge(const QByteArray &xdi, QString &element, QString &edge);

// The works of worksPath, from its folders and their copies as KnownWorks
// lists them, each read in full; on every core, as a folder may hold
// thousands.
QVector<CatalogueEntry> readCatalogue(const QString &worksPath,
                                      const QMap<QString, QStringList> &copiesByFolder);

// The whole page, in the order of entries; when is the time of the pass.
QString cataloguePage(const QString &worksPath, const QVector<CatalogueEntry> &entries,
                      const QDateTime &when);

} // namespace korvane

#pragma once
// The absorbing element and edge of a scan: where its absorption steps up
// (E0), and which tabulated edge that step is.

#include <QString>
#include <QStringList>
#include <QVector>

namespace korvane {

struct EdgeEnergy
{
    const char *symbol;
    int z;
    const char *edge; // "K", "L1", "L2" or "L3"
    double energy;    // eV
};
extern const EdgeEnergy edgeEnergies[];
extern const int edgeEnergyCount;

// The energy of the steepest rise of mu, where mu steps up clearly above its
// noise. energies must rise (equal neighbours allowed); found false when no
// such step is there.
struct EdgeStep
{
    bool found = false;
    double e0 = 0; // eV
};
EdgeStep findEdgeStep(const QVector<double> &energies, const QVector<double> &mu);

// The tabulated edge an E0 is, within the chemical shifts of -10 ... +30 eV.
// hints (sample and parameter file names) choose only among edges the energy
// leaves equally likely; when they cannot, ambiguous names the runner-up. A
// symbol or edge given (a user's half answer) leaves only its own edges.
struct EdgeMatch
{
    QString symbol; // empty: no tabulated edge near E0
    QString edge;
    bool ambiguous = false;
    bool byHint = false; // a hint chose among equally likely edges
    QString rival;       // "Tl L3", when ambiguous
};
EdgeMatch matchEdge(double e0, const QStringList &hints, const QString &symbol = QString(),
                    const QString &edge = QString());

// The table's spelling of a user's element and edge ("cu", "k" give "Cu",
// "K"); false when the table has no such edge.
bool knownEdge(const QString &symbol, const QString &edge, QString *tableSymbol,
               QString *tableEdge);

} // namespace korvane

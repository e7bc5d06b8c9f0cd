#pragma once
// Physical constants and the monochromator lattice spacing of one data file.

namespace korvane {

struct Units
{
    double dDefault = 3.1355316; // Si(111), Å
    double pi = 3.141592653589793;
    double c = 299792458.0;
    double h = 6.6260754426652935e-34;
    double e = 1.60217733e-19;
    double hc = 12398.424360742056; // h c / e in eV Å
    double d = 3.13553;
};

} // namespace korvane

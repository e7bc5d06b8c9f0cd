#pragma once
// Physical constants and the monochromator lattice spacing of one data file.

#include <QObject>

class Units : public QObject
{
    Q_OBJECT
public:
    explicit Units(QObject *parent = nullptr) : QObject(parent) {}

    double dDefault = 3.1355316;
    double pi = 3.141592653589793;
    double c = 299792458.0;
    double hbar = 1.05457266e-34;
    double h = 6.6260754426652935e-34;
    double e = 1.60217733e-19;
    double me = 9.10938356e-31;
    double eps0 = 8.85418782e-12;
    double hc = 12398.424360742056;
    double hcKeV = 12.398424360742055;
    double hb2m = 3.809986606798852;
    double hb2mKeV = 0.003809986606798852;
    double d = 3.13553;

public slots:
    void setD(double D) { d = D; }
};

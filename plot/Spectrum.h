#pragma once
// The spectrum picture of a data set: each point's absorbance against energy
// in a framed plot with grid, numbered ticks, axis titles and the file name.

class QPainter;

namespace korvane {

class DataSet;

// Draws the spectrum of dataSet over the painter's whole window.
void drawSpectrum(QPainter *painter, const DataSet &dataSet);

} // namespace korvane

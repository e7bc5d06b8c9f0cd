#pragma once
// A scan as an XDI 1.0 file (the XAS Data Interchange format), which
// analysis programs read without a beamline's own parser: the columns in
// increasing energy, the raw channels kept, the metadata and the absorbing
// element and edge in its header.

#include "template/Render.h"

#include <QByteArray>
#include <QString>

namespace korvane {

class DataSet;

// The most lines and the longest line the format's reference reader takes.
constexpr int xdiMaxLines = 16384;
constexpr int xdiMaxLineLength = 2047;

struct XdiText
{
    QByteArray bytes;       // the file, UTF-8 with LF line ends; empty when tooLong
    bool tooLong = false;   // past xdiMaxLines or a row past xdiMaxLineLength
    bool ambiguous = false; // two edges fit the step equally well
    bool noElement = false; // no step in the data and no element given
    QString note;           // what the user should know of this scan, "" when nothing
};

// The XDI of dataSet; common and the data set's own values give a user's
// element and edge (SMPL_011, SMPL_012), sample and facility names.
XdiText xdiText(const DataSet &dataSet, const CommonValues &common);

// Writes xdiText() to path, whole or not at all; a scan too long for the
// format gets no file. False (and why) when the write failed.
bool writeXdiFile(const QString &path, const DataSet &dataSet, const CommonValues &common,
                  XdiText *text, QString *why = nullptr);

} // namespace korvane

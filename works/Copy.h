#pragma once
// Copies of a data file and its companion into a work folder. A copy already
// there with the same bytes is kept; one that differs is replaced atomically,
// so a reader never sees a half-written copy and a failed copy leaves the old
// one intact.

#include <QString>

namespace korvane {

enum class CopyResult
{
    Copied,   // the target was made or replaced
    Kept,     // the target already held the same bytes
    NoSource, // there is no source file (or only a pipe or device); the target is untouched
    Failed    // reading or writing failed; the target is untouched
};

CopyResult copyIfChanged(const QString &source, const QString &target, QString *why = nullptr);

} // namespace korvane

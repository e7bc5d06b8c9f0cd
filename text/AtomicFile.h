#pragma once
// Every file korvane writes is written whole or not at all: the bytes go to a
// new file beside the target, which then takes the target's name in one step.
// Whoever reads the target sees its old bytes or all the new ones, and a
// failed write (a full disk, a folder in the way) leaves the old file as it
// was and no temporary file behind.

#include <QByteArray>
#include <QString>

namespace korvane {

enum class Durability
{
    // Left to the system's writeback: for files the next pass makes again.
    Cached,
    // Forced to disk before it takes the target's name: for files nothing
    // makes again, such as settings and properties.
    Synced
};

// Writes bytes to path as described above. A symbolic link is followed to the
// end of its chain, as QSaveFile follows it, so the links stay links and the
// file they lead to (made if missing) gets the bytes; a chain that loops is
// refused. A new file gets the permissions QSaveFile would give it; a
// replaced one keeps its own. False (and why) on failure.
bool writeFileAtomically(const QString &path, const QByteArray &bytes, Durability durability,
                         QString *why = nullptr);

// text encoded as a text-mode QTextStream without a codec would write it to a
// file: the locale's encoding, and the platform's line ends.
QByteArray textFileBytes(const QString &text);

} // namespace korvane

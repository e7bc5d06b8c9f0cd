#include "text/TextFile.h"

#include "text/Why.h"

#include <QFile>
#include <QtGlobal>

#include <algorithm>
#include <cstring>

#if defined(Q_OS_UNIX) && !defined(KORVANE_PORTABLE)
#define KORVANE_POSIX_READ 1
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QFileInfo>
#endif

namespace korvane {

namespace {

QString tooLarge()
{
    return reason("it is larger than %1 MiB").arg(maxTextFileBytes >> 20);
}

// Qt's resource files (":/...") have no descriptor to read.
bool readResource(const QString &path, QByteArray &bytes, QString *why)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setWhy(why, file.errorString());
        return false;
    }
    bytes = file.readAll();
    return true;
}

#ifdef KORVANE_POSIX_READ

// Reads the size the file had when opened, as QFile::readAll does: one read
// for a whole scan, and no second one only to meet the end. A file that
// reports no size (as files under /proc do) is read to its end.
bool readToEnd(int fd, qint64 size, QByteArray &bytes, QString *why)
{
    bytes.resize(int(size));
    qint64 done = 0;
    char more[4096];
    for (;;) {
        const bool inPlace = done < bytes.size();
        if (!inPlace && size > 0)
            break;
        const ssize_t n = inPlace ? ::read(fd, bytes.data() + done, size_t(bytes.size() - done))
                                  : ::read(fd, more, sizeof more);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            setWhy(why, QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
        if (n == 0)
            break;
        if (!inPlace) {
            if (bytes.size() + n > maxTextFileBytes) {
                setWhy(why, tooLarge());
                return false;
            }
            bytes.append(more, int(n));
        }
        done += n;
    }
    bytes.truncate(int(done));
    return true;
}

bool readRegularFile(const QString &path, QByteArray &bytes, QString *why)
{
    // Plain system calls: for the small files of a night's scans, QFile's
    // buffering and repeated stat calls cost more than the bytes. Without
    // blocking, so that a named pipe nobody writes to cannot hang the open;
    // only regular files are read, since a device such as /dev/zero would
    // never end.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        setWhy(why, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    struct stat status;
    bool ok = ::fstat(fd, &status) == 0;
    if (!ok) {
        setWhy(why, QString::fromLocal8Bit(std::strerror(errno)));
    } else if (!S_ISREG(status.st_mode)) {
        setWhy(why, S_ISDIR(status.st_mode) ? reason("it is a directory")
                                            : reason("it is not a regular file"));
        ok = false;
    } else if (status.st_size > maxTextFileBytes) {
        setWhy(why, tooLarge());
        ok = false;
    }
    if (ok)
        ok = readToEnd(fd, qint64(status.st_size), bytes, why);
    ::close(fd);
    return ok;
}

#else

// The same through Qt where the calls above are not at hand. Weaker in one
// way: the check that path is a regular file comes before the open, so a
// file swapped for a named pipe in between would block the open until
// someone writes to the pipe.
bool readRegularFile(const QString &path, QByteArray &bytes, QString *why)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        setWhy(why,
               info.isDir() ? reason("it is a directory") : reason("it is not a regular file"));
        return false;
    }
    if (info.size() > maxTextFileBytes) {
        setWhy(why, tooLarge());
        return false;
    }
    // Unbuffered: one read for the whole file, as on the path above.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        setWhy(why, file.errorString());
        return false;
    }
    // A file that reports no size (as files under /proc do) is read to its
    // end, up to the limit.
    const qint64 size = file.size();
    bytes.resize(int(size > 0 ? size : 0));
    qint64 done = size > 0 ? file.read(bytes.data(), size) : 0;
    if (done < 0) {
        setWhy(why, file.errorString());
        return false;
    }
    bytes.truncate(int(done));
    if (size <= 0) {
        char more[4096];
        qint64 n;
        while ((n = file.read(more, sizeof more)) > 0) {
            if (bytes.size() + n > maxTextFileBytes) {
                setWhy(why, tooLarge());
                return false;
            }
            bytes.append(more, int(n));
        }
        if (n < 0) {
            setWhy(why, file.errorString());
            return false;
        }
    }
    return true;
}

#endif

} // namespace

bool readFileBytes(const QString &path, QByteArray &bytes, QString *why)
{
    bytes.clear();
    if (path.isEmpty()) {
        setWhy(why, reason("no file name"));
        return false;
    }
    const bool read = path.startsWith(QLatin1Char(':')) ? readResource(path, bytes, why)
                                                        : readRegularFile(path, bytes, why);
    if (!read)
        bytes.clear();
    return read;
}

bool readTextFileBytes(const QString &path, QByteArray &bytes, QString *why)
{
    if (!readFileBytes(path, bytes, why))
        return false;
    // QByteArray::contains walks byte by byte; memchr is several times faster.
    if (std::memchr(bytes.constData(), '\r', size_t(bytes.size())))
        bytes.truncate(int(std::remove(bytes.begin(), bytes.end(), '\r') - bytes.begin()));
    return true;
}

bool TextFileReader::open(const QString &path, QString *why)
{
    if (!readTextFileBytes(path, data, why))
        return false;
    buffer.setBuffer(&data);
    buffer.open(QIODevice::ReadOnly);
    in.setDevice(&buffer);
    return true;
}

} // namespace korvane

#include "text/TextFile.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void setWhy(QString *why, const QString &text)
{
    if (why)
        *why = text;
}

QString errnoText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
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
            setWhy(why, errnoText(errno));
            return false;
        }
        if (n == 0)
            break;
        if (!inPlace) {
            if (bytes.size() + n > maxTextFileBytes) {
                setWhy(why, QStringLiteral("it is larger than %1 MiB").arg(maxTextFileBytes >> 20));
                return false;
            }
            bytes.append(more, int(n));
        }
        done += n;
    }
    bytes.truncate(int(done));
    return true;
}

} // namespace

bool readFileBytes(const QString &path, QByteArray &bytes, QString *why)
{
    bytes.clear();
    if (path.isEmpty()) {
        setWhy(why, QStringLiteral("no file name"));
        return false;
    }
    if (path.startsWith(QLatin1Char(':'))) {
        if (!readResource(path, bytes, why))
            return false;
    } else {
        // Plain system calls: for the small files of a night's scans, QFile's
        // buffering and repeated stat calls cost more than the bytes. Without
        // blocking, so that a named pipe nobody writes to cannot hang the
        // open; only regular files are read, since a device such as
        // /dev/zero would never end.
        const int fd =
            ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            setWhy(why, errnoText(errno));
            return false;
        }
        struct stat status;
        bool ok = ::fstat(fd, &status) == 0;
        if (!ok) {
            setWhy(why, errnoText(errno));
        } else if (!S_ISREG(status.st_mode)) {
            setWhy(why, S_ISDIR(status.st_mode) ? QStringLiteral("it is a directory")
                                                : QStringLiteral("it is not a regular file"));
            ok = false;
        } else if (status.st_size > maxTextFileBytes) {
            setWhy(why, QStringLiteral("it is larger than %1 MiB").arg(maxTextFileBytes >> 20));
            ok = false;
        }
        if (ok)
            ok = readToEnd(fd, qint64(status.st_size), bytes, why);
        ::close(fd);
        if (!ok) {
            bytes.clear();
            return false;
        }
    }
    return true;
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

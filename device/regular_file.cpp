#include "device/regular_file.h"

#include <QFile>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

OpenedRead readOpenedRegularFile(const QString &path, qint64 maxBytes, QByteArray &content)
{
    content.clear();
    QFile file;
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return OpenedRead::Unopenable;
    struct stat st = {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return OpenedRead::NotRegular;
    }
    if (st.st_size > maxBytes) {
        ::close(fd);
        return OpenedRead::TooLarge;
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return OpenedRead::Unreadable;
    }
#else
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly))
        return OpenedRead::Unopenable;
#endif
    // Sized by what fstat saw, not by the bound, so that a small file costs a small buffer. One
    // byte more tells a file that grew since; it is then read on up to one byte past the bound.
    qint64 expected = maxBytes;
#ifdef Q_OS_UNIX
    expected = std::min<qint64>(maxBytes, st.st_size);
#endif
    content = file.read(expected + 1);
    if (content.size() > expected && expected < maxBytes)
        content += file.read(maxBytes - expected);
    if (file.error() != QFileDevice::NoError) {
        content.clear();
        return OpenedRead::Unreadable;
    }
    if (content.size() > maxBytes) {
        content.clear();
        return OpenedRead::TooLarge;
    }
    return OpenedRead::Done;
}

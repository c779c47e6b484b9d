#include "macro/macro_names.h"

#include "macro/macro_files.h"

#include <QFile>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace
{

// NAME_MAX of the common file systems; Windows allows 255 UTF-16 units, which is never less.
constexpr int kDefaultMaxNameBytes = 255;

// What the file system of the library really takes; the current folder's when the library is
// not there yet.
int maxNameBytes()
{
#ifdef Q_OS_UNIX
    for (const QByteArray &folder : {QFile::encodeName(macroRoot()), QByteArray(".")}) {
        const long limit = ::pathconf(folder.constData(), _PC_NAME_MAX);
        if (limit > 0)
            return int(qMin(limit, 4096L));
    }
#endif
    return kDefaultMaxNameBytes;
}

bool isUnprintable(QChar c)
{
    const char16_t u = c.unicode();
    // C0 and C1 controls and DEL; the embeddings, overrides and isolates of the bidirectional
    // algorithm and the two direction marks.
    return u < 0x20 || (u >= 0x7F && u <= 0x9F) || u == 0x200E || u == 0x200F ||
           (u >= 0x202A && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069);
}

} // namespace

NameProblem nameProblem(const QString &name, const QString &suffix)
{
    if (name.isEmpty())
        return NameProblem::Empty;
    if (name.contains(QChar(0)))
        return NameProblem::Nul;
    if (name.startsWith(QLatin1Char('/')) || name.startsWith(QLatin1Char('\\')))
        return NameProblem::Absolute;
#ifdef Q_OS_WIN
    if (name.size() >= 2 && name.at(1) == QLatin1Char(':') && name.at(0).isLetter())
        return NameProblem::Absolute;
#endif
    // The backslash is refused on every system: library trees are exchanged with Windows.
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return NameProblem::Separator;
    if (std::all_of(name.begin(), name.end(), [](QChar c) { return c == QLatin1Char('.'); }))
        return NameProblem::DotName;
    if (std::any_of(name.begin(), name.end(), isUnprintable))
        return NameProblem::Unprintable;
    if (QFile::encodeName(name + suffix).size() > maxNameBytes())
        return NameProblem::TooLong;
    return NameProblem::None;
}

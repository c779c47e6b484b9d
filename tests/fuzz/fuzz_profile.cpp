// The .pf import check, on any content a user may pick.

#include "base/settings_file.h"
#include "controller/profiles.h"
#include "fuzz_common.h"

#include <QSettings>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString folder = fuzz::workFolder();
    const QByteArray content(reinterpret_cast<const char *>(data), qsizetype(size));
    if (!Profiles::isProfile(content))
        return 0;
    // A profile taken is one the program can read back: no NUL, both groups present.
    FUZZ_CHECK(!content.contains('\0'));
    const QString path = folder + QStringLiteral("/taken.pf");
    FUZZ_CHECK(fuzz::writeFile(path, data, size));
    // Read by the program, and by Qt's own INI reader as a second opinion. (Qt 6.4 sets a format
    // error on any file that starts with a byte order mark, although it reads every entry: that
    // status is no measure here.)
    for (const QSettings::Format format : {settingsFormat(), QSettings::IniFormat}) {
        const QSettings profile(path, format);
        const QStringList groups = profile.childGroups();
        FUZZ_CHECK(groups.contains(QStringLiteral("mouse")) &&
                   groups.contains(QStringLiteral("mouseKeyMatrix")));
    }
    return 0;
}

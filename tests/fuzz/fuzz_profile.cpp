// The .pf import check, on any content a user may pick.

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
    const QSettings profile(path, QSettings::IniFormat);
    const QStringList groups = profile.childGroups();
    FUZZ_CHECK(profile.status() == QSettings::NoError);
    FUZZ_CHECK(groups.contains(QStringLiteral("mouse")) &&
               groups.contains(QStringLiteral("mouseKeyMatrix")));
    return 0;
}

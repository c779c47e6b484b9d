#pragma once

// What the settings files keep for the pages, and the rules that read it: every key, each
// setting's default and validation, and its conversion to what the feature classes send. The
// window's pages and tk700ctl both read through here, so a profile with missing or odd values
// reaches the mouse the same way from either.

#include "base/button_entry.h"
#include "base/settings_store.h"

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

#include <array>
#include <functional>
#include <optional>

namespace stored
{

enum class File { Profile, Global };

// One stored setting. A family is a key followed by a name part (a preset number, a button
// code, a gun row): "mouseLight/colorIndex" stands for "mouseLight/colorIndex2" too.
struct Key {
    const char *key;
    File file;
    bool family;
};

// Every key the pages, the feature classes and the tools read or write.
inline constexpr Key kKeys[] = {
    // The profile: buttons, report rate, DPI stages, lift-off, pointer sliders, lighting.
    {"mouse/mouseMode", File::Profile, false},
    {"mouseKeyMatrix/", File::Profile, true},
    {"mouseKeyMatrix2/", File::Profile, true},
    {"mouseFwKeyMatrix/", File::Profile, true},
    {"mouseMacroKey/", File::Profile, true},
    {"mouseMacroKey2/", File::Profile, true},
    {"mouse/reportRate", File::Profile, false},
    {"mouse/dpiCount", File::Profile, false},
    {"mouse/currentDpiCount", File::Profile, false},
    {"mouse/dpiValueArray", File::Profile, false},
    {"mouse/dpiEnableArray", File::Profile, false},
    {"mouse/dpiColorArray", File::Profile, false},
    {"mouse/dpiColorType", File::Profile, true},
    {"mouse/lod", File::Profile, false},
    {"mouse/lodEn", File::Profile, false},
    {"mouse/mouseRate", File::Profile, false},
    {"mouse/doubleRate", File::Profile, false},
    {"mouse/scrollRate", File::Profile, false},
    {"mouseLight/lightNo", File::Profile, false},
    {"mouseLight/lightCount", File::Profile, false},
    {"mouseLight/lightName", File::Profile, false},
    {"mouseLight/colorIndex", File::Profile, true},
    {"mouseLight/lightValue", File::Profile, true},
    {"mouseLight/colorValue", File::Profile, true},
    {"XYSensitive/", File::Profile, true},
    {"selectGun/", File::Profile, true},
    // apConfig.bin: the device table's size and name, the model, its DPI range, the profile in
    // use, the language, the guns.
    {"common/deviceCount", File::Global, false},
    {"common/name", File::Global, false},
    {"mouse/isColorful", File::Global, false},
    {"mouse/isGun", File::Global, false},
    {"mouse/icType", File::Global, false},
    {"mouse/is55328", File::Global, false},
    {"mouse/keyCount", File::Global, false},
    {"mouse/sensorType", File::Global, false},
    {"mouse/minDPI", File::Global, false},
    {"mouse/maxDPI", File::Global, false},
    {"mouse/dpiBase", File::Global, false},
    {"mouse/profileNo", File::Global, false},
    {"mouse/selectGun", File::Global, false},
    {"common/language", File::Global, false},
    // The applications each profile follows, and how long one must stay in front
    // (app_profiles.h); files without the group follow none.
    {"appProfiles/profile", File::Global, true},
    {"appProfiles/delayMs", File::Global, false},
};

// Whether `key` is one of kKeys (or of a family) in `file`.
bool isKnown(const QString &key, File file);

// JavaScript's parseInt on a stored value: leading blanks, a sign and the digits that follow;
// nothing when there are none. A list reads as its first item.
std::optional<int> leadingInt(const QVariant &value);

// Report rate: the list position 0 ... 3 (125, 250, 500, 1000 Hz); -1 when the stored value is
// none of them. The mouse takes the interval code 8, 4, 2, 1; a position that is none is 1000 Hz.
int reportRatePosition(const QVariant &value);
uchar reportRateCode(int position);

// Slider knob offsets (the system page stores them). Older versions stored 174 as the default of
// both pointer sliders; it stands for `old174`. What is no number, or negative, is 0.
int storedOffset(const QVariant &value, int old174);
inline constexpr std::array<int, 3> kLodOffsets = {3, 168, 330};
// The lift-off knob snapped to one of its three marks, and the rate the mouse's lift-off rule
// takes (125, 108 or 90 at the marks).
int lodSnap(int offset);
int lodRate(int offset);

// A stored "#rrggbb" colour as its three levels; a level that cannot be read is 0.
std::array<uchar, 3> colourLevels(const QString &text);

// The DPI panel's range; a stored range that the panel's formulas cannot use keeps this one.
struct DpiRange {
    int min = 500;
    int max = 7000;
    int base = 500;
};

// What the DPI panel shows and sends for a stored stage value: the value placed on the stage's
// slider and read back from its knob, a whole multiple of the base (the slider is 435 pixels
// wide and its knob moves in whole pixels, so values between the steps fall to the step below).
int dpiShownValue(int value, const DpiRange &range);

inline constexpr int kDpiStages = 8;
inline constexpr int kColourStages = 6; // stages 7 and 8 are always white
inline constexpr int kLightBlocks = 15;
inline constexpr int kLightPresets = 4;
inline constexpr int kGunRows = 6;
inline constexpr int kGunSlots = 3;

} // namespace stored

// The stored settings of the current profile (or, read for a reset, of the factory profile) and
// of apConfig.bin, each validated and with its default.
struct StoredDpi {
    int count = 8;   // stages in the panel
    int current = 4; // stages in use
    QString sensor = QStringLiteral("3320");
    stored::DpiRange range;
    std::array<int, stored::kDpiStages> values = {250, 500, 750, 1000, 1250, 1500, 1750, 2000};
    std::array<int, stored::kDpiStages> enables = {1, 1, 1, 1, 1, 1, 1, 1};
    std::array<QString, stored::kColourStages> colours;
    // The eight stage colours as the mouse's colour table 1.
    QVariantList colourTable() const;
};

struct StoredLight {
    int count = 1; // presets
    int current = 0;
    QStringList names; // stored names; missing ones are named by the page
    int effect = 0;
    int speed = 0;
    int brightness = 10;
    int direction = 0;
    int colourIndex = 0;
    std::array<std::array<uchar, 3>, stored::kLightBlocks> colours = {};
};

struct StoredSystem {
    int cursorOffset = 0;
    int doubleClickOffset = 0;
    int lodOffset = 0; // snapped to a mark
    bool lodEnabled = false;
    std::optional<int> scroll; // lines, or above 100 a whole screen; nothing when unreadable
};

class StoredSettings
{
public:
    // A stored value: of the profile in use (`fromDefaults`: of the factory profile) or of
    // apConfig.bin; invalid when missing.
    using Reader = std::function<QVariant(const QString &key, stored::File file, bool fromDefaults)>;

    // `fromDefaults`: the profile's part from the factory profile, as a reset reads it.
    StoredSettings(SettingsStore &settings, bool fromDefaults);
    StoredSettings(Reader reader, bool fromDefaults)
        : read(std::move(reader)), defaults(fromDefaults)
    {
    }
    // Over plain maps of stored values (key -> value), as the QML tests keep them.
    StoredSettings(const QVariantMap &profile, const QVariantMap &global);

    int mode() const; // 0 office, 1 game
    int reportRatePosition() const;
    StoredDpi dpi() const;
    StoredLight light(int preset = -1) const; // -1: the preset in use
    StoredSystem system() const;
    // Button `index` of the office (mode 0) or game table: four numbers, or the button's
    // built-in entry when the stored one is missing, short or not numbers.
    std::array<int, key_table::kEntryBytes> entry(int mode, int index) const;
    // The stored entry when it is usable, else nothing.
    std::optional<std::array<int, key_table::kEntryBytes>> storedEntry(int mode, int index) const;
    QVariantList table(int mode) const; // the 16 entries, 64 numbers
    // The gun rows the three gun slots use (apConfig's "mouse/selectGun"), each 0 ... 5.
    std::array<int, stored::kGunSlots> gunSlotRows() const;

    // apConfig's profile in use, 0 ... 9 (0 when it is none), and the buttons the mouse has
    // (nothing when not stored).
    int profileNumber() const;
    std::optional<int> keyCount() const;

    // Everything above as the pages take it; one lighting preset alone.
    QVariantMap toMap() const;
    QVariantMap presetMap(int preset) const;

private:
    QVariant value(const QString &key) const;
    QVariant value(const char *key) const { return value(QString::fromLatin1(key)); }
    QVariantList list(const QString &key) const;
    QVariant global(const char *key) const;

    Reader read;
    bool defaults;
};

// The built-in office and game tables: what a button has when its stored entry is unusable.
const std::array<std::array<int, key_table::kEntryBytes>, key_table::kButtons> &
builtInEntries(int mode);

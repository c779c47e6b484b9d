#include "controller/stored_settings.h"

#include "base/runtime_files.h"

#include <QtMath>

#include <algorithm>
#include <cmath>

namespace stored
{

bool isKnown(const QString &key, File file)
{
    return std::any_of(std::begin(kKeys), std::end(kKeys), [&](const Key &k) {
        const QLatin1String name(k.key);
        return k.file == file && (k.family ? key.startsWith(name) : key == name);
    });
}

std::optional<int> leadingInt(const QVariant &value)
{
    const QVariantList items = value.toList();
    const QString text =
        (value.userType() == QMetaType::QStringList || value.userType() == QMetaType::QVariantList)
            ? (items.isEmpty() ? QString() : items.first().toString())
            : value.toString();
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+')))
        negative = text.at(i++) == QLatin1Char('-');
    qint64 n = 0;
    const qsizetype first = i;
    for (; i < text.size() && text.at(i).isDigit() && text.at(i).unicode() < 0x80; ++i)
        n = qMin<qint64>(n * 10 + text.at(i).digitValue(), qint64(INT_MAX) + 1);
    if (i == first)
        return std::nullopt;
    return int(qBound<qint64>(qint64(INT_MIN), negative ? -n : n, qint64(INT_MAX)));
}

int reportRatePosition(const QVariant &value)
{
    constexpr int kPositions = 4;
    const std::optional<int> n = leadingInt(value);
    return n && *n >= 0 && *n < kPositions ? *n : -1;
}

uchar reportRateCode(int position)
{
    constexpr std::array<uchar, 3> kCodes = {8, 4, 2};
    return position >= 0 && position < int(kCodes.size()) ? kCodes[size_t(position)] : 1;
}

int storedOffset(const QVariant &value, int old174)
{
    constexpr int kOldDefault = 174;
    const std::optional<int> offset = leadingInt(value);
    if (offset == kOldDefault)
        return old174;
    return offset && *offset >= 0 ? *offset : 0;
}

int lodSnap(int offset)
{
    return offset < 100 ? kLodOffsets[0] : offset < 200 ? kLodOffsets[1] : kLodOffsets[2];
}

int lodRate(int offset)
{
    // The rule's scale: 125 at the left mark, 35 less over the 325 pixels to the right one.
    return 125 - int(std::floor((offset - 3) * 35.0 / 325.0));
}

std::array<uchar, 3> colourLevels(const QString &text)
{
    std::array<uchar, 3> levels = {};
    for (int c = 0; c < 3; ++c) {
        // parseInt(…, 16) of two characters: the hex digits they start with.
        const QString digits = text.mid(1 + 2 * c, 2);
        uint level = 0;
        int read = 0;
        for (const QChar ch : digits) {
            bool ok = false;
            const uint d = QString(ch).toUInt(&ok, 16);
            if (!ok)
                break;
            level = level * 16 + d;
            ++read;
        }
        levels[size_t(c)] = uchar(read > 0 ? level : 0);
    }
    return levels;
}

int dpiShownValue(int value, const DpiRange &range)
{
    // The panel's slider: 435 pixels, a 12-pixel knob. The knob is placed at the value's share
    // of the track and the value read back from its whole-pixel offset.
    constexpr double kTrack = 435 - 1.5 * 12;
    constexpr int kKnobStart = 12 / 4 + 1;
    constexpr int kFirstOffset = 3;
    const double span = range.max - range.min;
    const int knob = int(std::floor(kTrack * ((value - range.min) / span))) + kKnobStart;
    const double read = (knob - kFirstOffset) * span / (435 - 18) + range.min;
    return int(std::floor(read / range.base)) * range.base;
}

} // namespace stored

namespace
{

using Entry = std::array<int, key_table::kEntryBytes>;
using Table = std::array<Entry, key_table::kButtons>;

// The buttons' functions before anything is stored: clicks, wheel, DPI stages, copy, paste,
// volume, browser keys, media and scroll.
constexpr Table kOfficeTable = {{{0, 0, 0xF0, 0}, {0, 0, 0xF1, 0}, {0, 0, 0xF2, 0},
                                 {0, 0, 0xF4, 0}, {0, 0, 0xF3, 0}, {5, 0, 1, 0}, {5, 0, 2, 0},
                                 {5, 0, 4, 0}, {1, 0x1D, 0x0A, 0}, {2, 0x01, 0x1D, 0},
                                 {3, 0, 0x83, 0x01}, {3, 0, 0xB7, 0}, {6, 0, 0x94, 0x01},
                                 {7, 0, 0xE0, 0x16}, {0xFF, 0, 0x01, 0}, {0xFF, 0, 0x02, 0}}};

// The game table differs in buttons 6 and 7: DPI up and down become the fire keys.
constexpr Table gameTable()
{
    Table t = kOfficeTable;
    t[5] = {8, 0, 1, 0};
    t[6] = {8, 0, 2, 0};
    return t;
}
constexpr Table kGameTable = gameTable();

// Numbers of a stored list (JavaScript's Number on each: blanks around, decimal or 0x hex);
// nothing when one is no number.
std::optional<QList<double>> numbers(const QVariantList &list)
{
    QList<double> out;
    for (const QVariant &v : list) {
        const QString text = v.toString().trimmed();
        bool ok = false;
        double d = text.isEmpty() ? 0 : text.toDouble(&ok);
        if (!ok && !text.isEmpty() && text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
            d = double(text.mid(2).toLongLong(&ok, 16));
        if (!ok && !text.isEmpty())
            return std::nullopt;
        out << d;
    }
    return out;
}

// A stored number as an int, its fraction dropped; far out of range it is held at a bound that
// no setting takes.
int wholeNumber(double d)
{
    constexpr double kBound = 1e9;
    return int(qBound(-kBound, std::trunc(d), kBound));
}

} // namespace

const Table &builtInEntries(int mode)
{
    return mode == 1 ? kGameTable : kOfficeTable;
}

QVariantList StoredDpi::colourTable() const
{
    QVariantList table;
    for (int s = 0; s < stored::kDpiStages; ++s) {
        const QString text = s < stored::kColourStages ? colours[size_t(s)] : QStringLiteral("#ffffff");
        for (uchar level : stored::colourLevels(text))
            table << uint(level);
    }
    return table;
}

StoredSettings::StoredSettings(SettingsStore &settings, bool fromDefaults)
    : read([&settings](const QString &key, stored::File file, bool fromDefaults) {
          return file == stored::File::Global ? settings.globalData(key)
                                              : settings.data(key, fromDefaults);
      }),
      defaults(fromDefaults)
{
}

StoredSettings::StoredSettings(const QVariantMap &profile, const QVariantMap &global)
    : read([profile, global](const QString &key, stored::File file, bool) {
          return (file == stored::File::Global ? global : profile).value(key);
      }),
      defaults(false)
{
}

QVariant StoredSettings::value(const QString &key) const
{
    return read(key, stored::File::Profile, defaults);
}

QVariantList StoredSettings::list(const QString &key) const
{
    return storedList(read(key, stored::File::Profile, defaults));
}

QVariant StoredSettings::global(const char *key) const
{
    return read(QString::fromLatin1(key), stored::File::Global, false);
}

int StoredSettings::mode() const
{
    return stored::leadingInt(value("mouse/mouseMode")) == 1 ? 1 : 0;
}

int StoredSettings::reportRatePosition() const
{
    return stored::reportRatePosition(value("mouse/reportRate"));
}

StoredDpi StoredSettings::dpi() const
{
    StoredDpi d;
    // 0 or no number keeps the default, as an empty field would.
    if (const auto n = stored::leadingInt(value("mouse/dpiCount")); n && *n != 0)
        d.count = *n;
    if (const auto n = stored::leadingInt(value("mouse/currentDpiCount")); n && *n != 0)
        d.current = *n;
    const auto min = stored::leadingInt(global("mouse/minDPI"));
    const auto max = stored::leadingInt(global("mouse/maxDPI"));
    const auto base = stored::leadingInt(global("mouse/dpiBase"));
    if (min && max && base && *min > 0 && *max > *min && *base > 0)
        d.range = {*min, *max, *base};
    const QVariant sensor = global("mouse/sensorType");
    if (sensor.isValid())
        d.sensor = sensor.toString();
    // A list with an item that is no number keeps the defaults whole.
    auto fill = [this](const char *key, std::array<int, stored::kDpiStages> &out) {
        const auto n = numbers(list(QString::fromLatin1(key)));
        if (!n || n->isEmpty())
            return;
        for (int s = 0; s < stored::kDpiStages; ++s)
            out[size_t(s)] = s < n->size() ? wholeNumber(n->at(s)) : out[size_t(s)];
    };
    fill("mouse/dpiEnableArray", d.enables);
    std::array<int, stored::kDpiStages> values = d.values;
    // A stage the stored list does not reach stands at the range's low end.
    if (const auto n = numbers(list(QStringLiteral("mouse/dpiValueArray"))); n && !n->isEmpty())
        for (int s = 0; s < stored::kDpiStages; ++s)
            values[size_t(s)] = s < n->size() ? wholeNumber(n->at(s)) : d.range.min;
    for (int s = 0; s < stored::kDpiStages; ++s)
        d.values[size_t(s)] = stored::dpiShownValue(values[size_t(s)], d.range);
    const QVariantList colours = list(QStringLiteral("mouse/dpiColorArray"));
    for (int s = 0; s < stored::kColourStages; ++s)
        d.colours[size_t(s)] = s < colours.size() ? colours.at(s).toString() : QStringLiteral("#ff0000");
    return d;
}

StoredLight StoredSettings::light(int preset) const
{
    StoredLight l;
    // The preset list is the profile's, also when a reset reads the factory preset.
    auto ofProfile = [this](const char *key) {
        return read(QString::fromLatin1(key), stored::File::Profile, false);
    };
    const auto count = stored::leadingInt(ofProfile("mouseLight/lightCount"));
    const auto number = stored::leadingInt(ofProfile("mouseLight/lightNo"));
    l.count = count && *count >= 1 && *count <= stored::kLightPresets ? *count : 1;
    l.current = number && *number >= 0 && *number < l.count ? *number : 0;
    // A single name is stored with a mark after it, so that it reads back as a list.
    QStringList names;
    for (const QVariant &name : storedList(ofProfile("mouseLight/lightName")))
        names << name.toString();
    l.names = names.size() == 2 && names.at(1) == QLatin1String("nullslotmark") ? names.mid(0, 1)
                                                                                 : names;
    l.names = l.names.mid(0, l.count);

    const int p = preset < 0 ? l.current : preset;
    const QString suffix = p > 0 ? QString::number(p) : QString();
    const auto index = stored::leadingInt(value(QStringLiteral("mouseLight/colorIndex") + suffix));
    const QVariantList v = list(QStringLiteral("mouseLight/lightValue") + suffix);
    const QVariantList bytes = list(QStringLiteral("mouseLight/colorValue") + suffix);
    // Number() of each item; what is no number counts as missing.
    auto at = [](const QVariantList &from, int i) -> std::optional<double> {
        if (i >= from.size())
            return std::nullopt;
        const auto n = numbers({from.at(i)});
        return n ? std::optional<double>(n->first()) : std::nullopt;
    };
    const auto effect = at(v, 0);
    l.effect = effect && *effect >= 0 && *effect <= 6 ? int(*effect) : 0;
    l.speed = int(qBound(0.0, at(v, 1).value_or(0), 5.0));
    l.brightness = int(qBound(0.0, at(v, 2).value_or(10), 10.0));
    l.direction = int(qBound(0.0, at(v, 3).value_or(0), 3.0));
    for (int b = 0; b < stored::kLightBlocks; ++b)
        for (int c = 0; c < 3; ++c)
            l.colours[size_t(b)][size_t(c)] = uchar(qBound(0.0, at(bytes, 3 * b + c).value_or(0), 255.0));
    l.colourIndex = index && *index >= 0 && *index < stored::kLightBlocks ? *index : 0;
    return l;
}

StoredSystem StoredSettings::system() const
{
    // What the sliders stood at before offsets were kept apart.
    constexpr int kCursorOld = 163;
    constexpr int kDoubleClickOld = 161;
    StoredSystem s;
    s.cursorOffset = stored::storedOffset(value("mouse/mouseRate"), kCursorOld);
    s.doubleClickOffset = stored::storedOffset(value("mouse/doubleRate"), kDoubleClickOld);
    s.lodOffset =
        stored::lodSnap(stored::storedOffset(value("mouse/lod"), stored::kLodOffsets[1]));
    s.lodEnabled = stored::leadingInt(value("mouse/lodEn")).value_or(0) != 0;
    s.scroll = stored::leadingInt(value("mouse/scrollRate"));
    return s;
}

std::optional<std::array<int, key_table::kEntryBytes>> StoredSettings::storedEntry(int mode,
                                                                                  int index) const
{
    const QString group =
        mode == 1 ? QStringLiteral("mouseKeyMatrix2/") : QStringLiteral("mouseKeyMatrix/");
    const QVariantList stored = list(group + QString::number(index));
    const auto n = numbers(stored.mid(0, key_table::kEntryBytes));
    if (stored.size() < key_table::kEntryBytes || !n)
        return std::nullopt;
    Entry e = {};
    for (int i = 0; i < key_table::kEntryBytes; ++i)
        e[size_t(i)] = wholeNumber(n->at(i));
    return e;
}

std::array<int, key_table::kEntryBytes> StoredSettings::entry(int mode, int index) const
{
    return storedEntry(mode, index)
        .value_or(builtInEntries(mode)[size_t(qBound(0, index, key_table::kButtons - 1))]);
}

QVariantList StoredSettings::table(int mode) const
{
    QVariantList out;
    for (int n = 0; n < key_table::kButtons; ++n)
        for (int byte : entry(mode, n))
            out << byte;
    return out;
}

std::array<int, stored::kGunSlots> StoredSettings::gunSlotRows() const
{
    const QVariantList rows = storedList(global("mouse/selectGun"));
    std::array<int, stored::kGunSlots> out = {};
    for (int k = 0; k < stored::kGunSlots; ++k) {
        const auto n = k < rows.size() ? numbers({rows.at(k)}) : std::nullopt;
        const double row = n ? n->first() : -1;
        out[size_t(k)] = row >= 0 && row < stored::kGunRows && row == std::floor(row) ? int(row) : k;
    }
    return out;
}

int StoredSettings::profileNumber() const
{
    constexpr int kProfiles = 10;
    const auto n = stored::leadingInt(global("mouse/profileNo"));
    return n && *n >= 0 && *n < kProfiles ? *n : 0;
}

std::optional<int> StoredSettings::keyCount() const
{
    const auto n = stored::leadingInt(global("mouse/keyCount"));
    return n && *n >= 0 ? n : std::nullopt;
}

QVariantMap StoredSettings::presetMap(int preset) const
{
    const StoredLight l = light(preset);
    QVariantList colours;
    for (const auto &rgb : l.colours)
        colours << QVariant(QVariantList{rgb[0], rgb[1], rgb[2]});
    return {{QStringLiteral("count"), l.count},
            {QStringLiteral("current"), l.current},
            {QStringLiteral("names"), l.names},
            {QStringLiteral("effect"), l.effect},
            {QStringLiteral("speed"), l.speed},
            {QStringLiteral("brightness"), l.brightness},
            {QStringLiteral("direction"), l.direction},
            {QStringLiteral("colourIndex"), l.colourIndex},
            {QStringLiteral("colours"), colours}};
}

QVariantMap StoredSettings::toMap() const
{
    const StoredDpi d = dpi();
    QVariantList values, enables, colours;
    for (int s = 0; s < stored::kDpiStages; ++s) {
        values << d.values[size_t(s)];
        enables << d.enables[size_t(s)];
    }
    for (const QString &c : d.colours)
        colours << c;
    const StoredSystem s = system();
    QVariantList gunSlots;
    for (int row : gunSlotRows())
        gunSlots << row;
    return {
        {QStringLiteral("mode"), mode()},
        {QStringLiteral("profileNo"), profileNumber()},
        {QStringLiteral("keyCount"), keyCount().value_or(-1)},
        {QStringLiteral("gunSlots"), gunSlots},
        {QStringLiteral("reportRate"), reportRatePosition()},
        {QStringLiteral("dpi"),
         QVariantMap{{QStringLiteral("count"), d.count},
                     {QStringLiteral("current"), d.current},
                     {QStringLiteral("sensor"), d.sensor},
                     {QStringLiteral("min"), d.range.min},
                     {QStringLiteral("max"), d.range.max},
                     {QStringLiteral("base"), d.range.base},
                     {QStringLiteral("values"), values},
                     {QStringLiteral("enables"), enables},
                     {QStringLiteral("colours"), colours}}},
        {QStringLiteral("light"), presetMap(-1)},
        {QStringLiteral("system"),
         QVariantMap{{QStringLiteral("cursor"), s.cursorOffset},
                     {QStringLiteral("doubleClick"), s.doubleClickOffset},
                     {QStringLiteral("lod"), s.lodOffset},
                     {QStringLiteral("lodEnabled"), s.lodEnabled},
                     {QStringLiteral("scroll"), s.scroll ? QVariant(*s.scroll) : QVariant()}}},
    };
}

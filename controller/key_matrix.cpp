#include "controller/key_matrix.h"

#include "base/byte_values.h"
#include "controller/profiles.h"

#include <QDebug>

using namespace key_table;

namespace
{

enum class Family { Any, F553, F560 };

constexpr int kAny = -1;  // matches any value
constexpr int kKeep = -1; // keeps the entry's own value

// Whole entries that translate differently from their type; checked first, first match wins.
struct EntryRule {
    int type, p2, p3;
    Family family;
    int out[kEntryBytes];
};
// clang-format off
constexpr EntryRule kEntryRules[] = {
    // type  p2    p3    family        becomes
    {0,      0x1E, 2,    Family::Any,  {10, kKeep, kKeep, kKeep}}, // double fire: a fire entry
    {5,      4,    kAny, Family::F560, {11, 0, 1, 1}},             // sniper key
    {5,      4,    kAny, Family::F553, {7, 0, 4, 1}},
};
// clang-format on

// The user interface's type -> the mouse's type. Types not listed pass unchanged.
struct TypeRule {
    uchar type;
    uchar deviceType;
    uchar p2Offset;
};
// clang-format off
constexpr TypeRule kTypeRules[] = {
    // type  device  p2 +
    {0,      1,      0},  // mouse function
    {1,      10,     0},  // fire key
    {2,      0,      0},  // key combination
    {3,      3,      0},  // media key
    {4,      9,      1},  // macro: the mouse counts its macros from 1
    {5,      7,      0},  // DPI function
    {6,      0,      0},  // Windows function: a key combination ...
    {7,      0,      0},  // shortcut
    {8,      8,      0},  // gun button
    {0xFF,   4,      0},
};
// clang-format on
static_assert(kTypeRules[kMacroType].type == kMacroType, "the macro row");

// ... except the Windows functions that are consumer-page usages, which go out as media keys.
// Checked after the rules above, on the translated p2.
struct ConsumerUsage {
    uchar p2, p3;
};
constexpr ConsumerUsage kConsumerUsages[] = {{0x21, 2}, {0x23, 2}, {0x94, 1}};
constexpr uchar kMediaKey = 3;
constexpr uchar kGunButton = 8;

// What a gun button (slot 1..3) puts into the byte `stepByte` of its entry in tables 1..4.
struct GunRule {
    int stepByte;
    uchar steps[kGunSlots][kTables];
    bool gunMask;       // 560: profile block 0 says which slots are in use
    bool oneButtonSlot; // 553: every gun entry is (8, 0, 1, step), whatever its slot
};
// clang-format off
constexpr GunRule kGun560 = {kP2, {{1, 0, 0, 0}, {1, 3, 0, 0}, {1, 3, 3, 0}}, true,  false};
constexpr GunRule kGun553 = {kP3, {{1, 0, 0, 0}, {1, 2, 0, 0}, {1, 2, 3, 0}}, false, true};
// clang-format on
constexpr uchar kGunMasks[kGunSlots] = {7, 15, 31};

// Entry 0 of gun table 2 + k is (11, k, period of slot k + 1, 0).
constexpr uchar kGunPeriodType = 11;

bool matches(int pattern, uchar value)
{
    return pattern == kAny || pattern == value;
}

bool appliesTo(Family family, bool family560)
{
    return family == Family::Any || (family == Family::F560) == family560;
}

bool isOfficeMode(const QVariant &mode)
{
    return mode.toUInt() == 0;
}

QString entryKey(const QString &group, int index)
{
    return group + QLatin1Char('/') + QString::number(index);
}

const QString kOfficeGroup = QStringLiteral("mouseKeyMatrix");
const QString kGameGroup = QStringLiteral("mouseKeyMatrix2");
const QString kFirmwareGroup = QStringLiteral("mouseFwKeyMatrix");

// Where entry `n` starts in a table.
constexpr std::size_t entryOffset(int n)
{
    return std::size_t(n) * kEntryBytes;
}

bool hasGunButton(const KeyTable &table)
{
    for (int n = 0; n < kButtons; ++n)
        if (table[n * kEntryBytes + kType] == kGunButton)
            return true;
    return false;
}

void translateEntry(uchar *entry, bool family560)
{
    bool done = false;
    for (const EntryRule &rule : kEntryRules) {
        if (rule.type != entry[kType] || !matches(rule.p2, entry[kP2]) ||
            !matches(rule.p3, entry[kP3]) || !appliesTo(rule.family, family560))
            continue;
        for (int i = 0; i < kEntryBytes; ++i)
            if (rule.out[i] != kKeep)
                entry[i] = uchar(rule.out[i]);
        done = true;
        break;
    }
    if (!done) {
        for (const TypeRule &rule : kTypeRules) {
            if (rule.type != entry[kType])
                continue;
            entry[kType] = rule.deviceType;
            entry[kP2] = uchar(entry[kP2] + rule.p2Offset);
            break;
        }
    }
    for (const ConsumerUsage &usage : kConsumerUsages) {
        if (entry[kP2] == usage.p2 && entry[kP3] == usage.p3) {
            entry[kType] = kMediaKey;
            break;
        }
    }
}

} // namespace

KeyTable KeyMatrix::translate(const KeyTable &table, bool family560)
{
    KeyTable out = table;
    for (int n = 0; n < kButtons; ++n)
        translateEntry(out.data() + entryOffset(n), family560);
    return out;
}

KeyMatrix::Tables KeyMatrix::build(const KeyTable &uiTable, const KeyTable &firmwareTable,
                                   const std::array<uchar, kGunSlots> &periods, bool family560)
{
    Tables out;
    out.table[0] = translate(uiTable, family560);
    out.gun = hasGunButton(out.table[0]);
    if (!out.gun)
        return out;

    for (int t = 1; t < kTables; ++t)
        out.table[t] = firmwareTable;
    const GunRule &rule = family560 ? kGun560 : kGun553;
    for (int n = 0; n < kButtons; ++n) {
        const int at = n * kEntryBytes;
        if (out.table[0][at + kType] != kGunButton)
            continue;
        const int slot = out.table[0][at + kP2];
        for (int t = 1; t < kTables; ++t)
            out.table[t][at + kType] = kGunButton;
        if (slot >= 1 && slot <= kGunSlots) {
            for (int t = 0; t < kTables; ++t)
                out.table[t][at + rule.stepByte] = rule.steps[slot - 1][t];
            if (rule.gunMask)
                out.gunMask = kGunMasks[slot - 1];
        }
        if (rule.oneButtonSlot) {
            for (int t = 0; t < kTables; ++t) {
                out.table[t][at + kP2] = 1;
                out.table[t][at + kP1] = 0;
            }
        }
    }
    for (int k = 0; k < kGunSlots; ++k) {
        KeyTable &gunTable = out.table[k + 1];
        gunTable[kType] = kGunPeriodType;
        gunTable[kP1] = uchar(k);
        gunTable[kP2] = periods[k];
        gunTable[kP3] = 0;
    }
    return out;
}

bool KeyMatrix::set(const QVariant &mode, const QVariantList &office, const QVariantList &game,
                    bool send, const QVariantList &periods)
{
    if (office.size() < kTableBytes || game.size() < kTableBytes) {
        qDebug() << "mouseSetKeyMatrix: refused, a button table has" << office.size() << "and"
                 << game.size() << "of" << kTableBytes << "numbers";
        return false;
    }
    const bool family560 = ctx.model.family560();
    const KeyTable uiTable = lowBytes<kTableBytes>(isOfficeMode(mode) ? office : game);
    const std::array<uchar, kGunSlots> gunPeriods = lowBytes<kGunSlots>(periods);
    Tables tables = build(uiTable, firmwareTable(), gunPeriods, family560);
    if (send && tables.gun && periods.size() < kGunSlots) {
        qDebug() << "mouseSetKeyMatrix: refused, gun buttons need" << kGunSlots << "periods, got"
                 << periods.size();
        return false;
    }

    ctx.settings.setData(QStringLiteral("mouse/mouseMode"), mode);
    for (int n = 0; n < kButtons; ++n) {
        const auto at = qsizetype(entryOffset(n));
        ctx.settings.setData(entryKey(kOfficeGroup, n), office.mid(at, kEntryBytes));
        ctx.settings.setData(entryKey(kGameGroup, n), game.mid(at, kEntryBytes));
    }
    if (!send)
        return true;

    if (!tables.gun)
        return sendTable(tables.table[0], 1);
    bool ok = ctx.link != nullptr;
    if (family560) {
        // The gun mask goes into a block that must be a true copy of the mouse's: when it cannot
        // be read (or sent), the tables that go with it are not sent either.
        using namespace profile_block;
        const int mask = tables.gunMask;
        if (!change(ctx, kGunBlock, kGunBlock, kGunBlock, [mask](int, uchar *block0) {
                if (mask >= 0)
                    block0[kGunMask] = uchar(mask);
            }))
            return false;
    }
    for (int t = 0; t < kTables; ++t)
        ok = sendTable(tables.table[t], t + 1) && ok;
    ok = ctx.byFamily(&Hid_Thread::hid553_02H_SetCurrentKeyMatrix,
                      &Hid_Thread::hid560_02H_SetCurrentProfile, uchar(1)) &&
         ok;
    return ok;
}

KeyTable KeyMatrix::firmwareTable() const
{
    KeyTable table = {};
    for (int n = 0; n < kButtons; ++n) {
        const QVariantList entry = ctx.settings.dataList(entryKey(kFirmwareGroup, n), false);
        const std::array<uchar, kEntryBytes> bytes = lowBytes<kEntryBytes>(entry);
        std::copy(bytes.begin(), bytes.end(), table.data() + entryOffset(n));
    }
    return table;
}

bool KeyMatrix::resetGunTables()
{
    KeyTable table = firmwareTable();
    bool ok = true;
    for (int t = 2; t <= kTables; ++t)
        ok = sendTable(table, t) && ok;
    return ok;
}

bool KeyMatrix::switchTo(int number)
{
    if (number < 1 || number > kTables) {
        qDebug() << "mouseSwitchKeyMatrix: no key table" << number;
        return false;
    }
    // The 553 family counts its tables from 0.
    return ctx.byFamily(
        [&](Hid_Thread &link) { return link.hid553_02H_SetCurrentKeyMatrix(uchar(number - 1)); },
        [&](Hid_Thread &link) { return link.hid560_02H_SetCurrentProfile(uchar(number)); });
}

bool KeyMatrix::sendTable(KeyTable &table, int number)
{
    return ctx.byFamily(&Hid_Thread::hid553_12H_SetKeyMatrix, &Hid_Thread::hid560_0DH_SetKeyMatrix,
                        table.data(), uchar(number));
}

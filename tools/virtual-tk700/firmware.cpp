#include "firmware.h"

#include <algorithm>
#include <iterator>

namespace tk700sim
{

namespace
{

using Exchange = Firmware::Exchange;
using Kind = Firmware::Kind;

constexpr int kModes = MouseState::kModes;

void copyParams(Bytes &to, const FeatureReport &request, int first, int count)
{
    to.assign(request.begin() + first, request.begin() + first + count);
}

// A data block lands in a slot of fixed size: a short block is zero-filled, a long one cut.
Bytes fitted(const Bytes &block, std::size_t size)
{
    Bytes out(block.begin(), block.begin() + static_cast<long>(std::min(block.size(), size)));
    out.resize(size, 0);
    return out;
}

bool inRange(int value, int first, int last)
{
    return value >= first && value <= last;
}

// Handlers shared by both families.

// 10 <type> <n> : n colour bytes follow (4 for type 2, else 24)
void setStageColours(MouseState &s, Exchange &x)
{
    s.stageColourType = x.request[2];
    s.stageColours.assign(x.block.begin(),
                          x.block.begin() + static_cast<long>(std::min(
                                                x.block.size(), MouseState::kStageColourBytes)));
}

// 16 00 40 : 64 attribute bytes follow
void setSlaveAttributes(MouseState &s, Exchange &x)
{
    s.slaveAttributes = fitted(x.block, MouseState::kSlaveBytes);
}

// 87 <type> -> reply 87 <type> <option1> <option2> <option3>
void getLogoLed(MouseState &s, Exchange &x)
{
    x.reply[2] = x.request[2];
    std::copy(s.logoLed.begin(), s.logoLed.end(), x.reply.begin() + 3);
}

// 553 family.

// 01 <rate>
void set553ReportRate(MouseState &s, Exchange &x)
{
    s.reportRate = x.request[2];
}

// 02 <matrix>
void set553CurrentKeyMatrix(MouseState &s, Exchange &x)
{
    s.currentKeyMatrix = x.request[2];
}

// 03 <b1> <b2> <b3> <b4>
void set553KeyboardOptions(MouseState &s, Exchange &x)
{
    copyParams(s.keyboardOptions, x.request, 2, 4);
}

// 04 00 <count> <x> <y> <slot index>
void set553GunData(MouseState &s, Exchange &x)
{
    const int slot = x.request[6];
    if (slot < MouseState::kGunSlots)
        s.gun[slot] = GunSlot{x.request[3], x.request[4], x.request[5]};
}

// 07 00 <stage> 7D <enable>
void set553LiftOff(MouseState &s, Exchange &x)
{
    copyParams(s.liftOffParams, x.request, 2, 6);
    s.liftOffStage = x.request[3];
    s.liftOffEnabled = x.request[5] != 0;
}

// 0B <stage>
void set553CurrentDpi(MouseState &s, Exchange &x)
{
    s.dpiStage = x.request[2];
}

// 0C <r> <g> <b>
void set553FixedColour(MouseState &s, Exchange &x)
{
    std::copy(x.request.begin() + 2, x.request.begin() + 5, s.fixedColour.begin());
}

// 0D <effect> <option1> <option2>
void set553Effect(MouseState &s, Exchange &x)
{
    std::copy(x.request.begin() + 2, x.request.begin() + 5, s.effect.begin());
}

// 11 <stage count> 08 : one code per stage follows
void set553DpiTable(MouseState &s, Exchange &x)
{
    s.dpiCount = x.request[2];
    s.dpiTable = fitted(x.block, MouseState::kDpiTableBytes);
}

// 12 <matrix 1..4> 40 08 : 64 bytes follow
void set553KeyMatrix(MouseState &s, Exchange &x)
{
    const int index = x.request[2];
    if (inRange(index, 1, MouseState::kKeyMatrices))
        s.keyMatrices[index - 1] = fitted(x.block, 64);
}

// 13 <macro 1..12> 80 : 128 bytes follow
void setMacro(MouseState &s, Exchange &x)
{
    const int id = x.request[2];
    if (inRange(id, 1, MouseState::kMacros))
        s.macros[id - 1] = fitted(x.block, MouseState::kBlockSize);
}

// 83 -> reply 83 <b1> <b2> <b3> <b4>
void get553KeyboardOptions(MouseState &s, Exchange &x)
{
    std::copy(s.keyboardOptions.begin(), s.keyboardOptions.end(), x.reply.begin() + 2);
}

// 8B -> reply 8B <stage>
void get553CurrentDpi(MouseState &s, Exchange &x)
{
    x.reply[2] = s.dpiStage;
}

// 560 family.

// 01 <b1> <b2>
void set560KeyboardOptions(MouseState &s, Exchange &x)
{
    copyParams(s.keyboardOptions, x.request, 2, 2);
}

// 02 <profile>
void set560CurrentProfile(MouseState &s, Exchange &x)
{
    s.currentProfile = x.request[2];
}

// 03 <mode 1..4> <rate>
void set560ReportRate(MouseState &s, Exchange &x)
{
    const int mode = x.request[2];
    if (inRange(mode, 1, kModes))
        s.modeReportRate[mode - 1] = x.request[3];
}

// 04 <mode 1..4> <stage>
void set560CurrentDpi(MouseState &s, Exchange &x)
{
    const int mode = x.request[2];
    if (inRange(mode, 1, kModes))
        s.modeDpiStage[mode - 1] = x.request[3];
}

// 09 <stage, or 0 when off> 7D
void set560LiftOff(MouseState &s, Exchange &x)
{
    copyParams(s.liftOffParams, x.request, 2, 6);
    s.liftOffStage = x.request[2];
    s.liftOffEnabled = x.request[2] != 0;
}

// 0C <profile 0..4> 80 : 128 bytes follow
void set560Profile(MouseState &s, Exchange &x)
{
    const int profile = x.request[2];
    if (profile < MouseState::kProfiles)
        s.profiles[profile] = fitted(x.block, MouseState::kBlockSize);
}

// 0D <matrix 1..4> 80 : 128 bytes follow
void set560KeyMatrix(MouseState &s, Exchange &x)
{
    const int index = x.request[2];
    if (inRange(index, 1, MouseState::kKeyMatrices))
        s.keyMatrices[index - 1] = fitted(x.block, MouseState::kBlockSize);
}

// 81 -> reply 81 <b1> <b2>
void get560KeyboardOptions(MouseState &s, Exchange &x)
{
    std::copy(s.keyboardOptions.begin(), s.keyboardOptions.end(), x.reply.begin() + 2);
}

// 82 -> reply 82 <profile>
void get560CurrentProfile(MouseState &s, Exchange &x)
{
    x.reply[2] = s.currentProfile;
}

// 84 <mode> -> reply 84 <mode> <stage of that mode>
void get560CurrentDpi(MouseState &s, Exchange &x)
{
    const int mode = x.request[2];
    x.reply[2] = x.request[2];
    x.reply[3] = inRange(mode, 1, kModes) ? s.modeDpiStage[mode - 1] : 0;
}

// 8C <profile 0..4> -> 128 bytes as input reports; an unknown block reads as zeros
void read560Profile(MouseState &s, Exchange &x)
{
    const int profile = x.request[2];
    x.reply[2] = x.request[2];
    x.inBlock =
        profile < MouseState::kProfiles ? s.profiles[profile] : Bytes(MouseState::kBlockSize, 0);
}

constexpr int kByte3 = 3;

const Firmware::Command kCommands553[] = {
    {0x01, Kind::Set, -1, 0, set553ReportRate},
    {0x02, Kind::Set, -1, 0, set553CurrentKeyMatrix},
    {0x03, Kind::Set, -1, 0, set553KeyboardOptions},
    {0x04, Kind::Set, -1, 0, set553GunData},
    {0x07, Kind::Set, -1, 0, set553LiftOff},
    {0x0B, Kind::Set, -1, 0, set553CurrentDpi},
    {0x0C, Kind::Set, -1, 0, set553FixedColour},
    {0x0D, Kind::Set, -1, 0, set553Effect},
    {0x10, Kind::BlockOut, kByte3, 0, setStageColours},
    {0x11, Kind::BlockOut, kByte3, 0, set553DpiTable},
    {0x12, Kind::BlockOut, kByte3, 0, set553KeyMatrix},
    {0x13, Kind::BlockOut, kByte3, 0, setMacro},
    {0x16, Kind::BlockOut, kByte3, 0, setSlaveAttributes},
    {0x83, Kind::Query, -1, 0, get553KeyboardOptions},
    {0x87, Kind::Query, -1, 0, getLogoLed},
    {0x8B, Kind::Query, -1, 0, get553CurrentDpi},
};

// The host sends the stage colours and slave attributes with the 553 codes on both families.
const Firmware::Command kCommands560[] = {
    {0x01, Kind::Set, -1, 0, set560KeyboardOptions},
    {0x02, Kind::Set, -1, 0, set560CurrentProfile},
    {0x03, Kind::Set, -1, 0, set560ReportRate},
    {0x04, Kind::Set, -1, 0, set560CurrentDpi},
    {0x09, Kind::Set, -1, 0, set560LiftOff},
    {0x0C, Kind::BlockOut, kByte3, 0, set560Profile},
    {0x0D, Kind::BlockOut, kByte3, 0, set560KeyMatrix},
    {0x0F, Kind::BlockOut, kByte3, 0, setMacro},
    {0x10, Kind::BlockOut, kByte3, 0, setStageColours},
    {0x16, Kind::BlockOut, kByte3, 0, setSlaveAttributes},
    {0x81, Kind::Query, -1, 0, get560KeyboardOptions},
    {0x82, Kind::Query, -1, 0, get560CurrentProfile},
    {0x84, Kind::Query, -1, 0, get560CurrentDpi},
    {0x87, Kind::Query, -1, 0, getLogoLed},
    {0x8C, Kind::BlockIn, -1, MouseState::kBlockSize, read560Profile},
};

} // namespace

std::string otherCode(const std::string &code)
{
    std::string other = code;
    for (char &c : other)
        c = (c >= '0' && c <= '9') ? static_cast<char>('0' + (c - '0' + 1) % 10)
                                   : static_cast<char>(c ^ 1);
    return other;
}

Firmware::Firmware(Family family, const std::string &code, bool encode)
    : state_(family), code_(code), key_(code), wrongKey_(otherCode(code)), encode_(encode)
{
}

const Firmware::Command *Firmware::find(std::uint8_t code) const
{
    const auto lookup = [code](const auto &table) -> const Command * {
        const auto it = std::find_if(std::begin(table), std::end(table),
                                     [code](const Command &c) { return c.code == code; });
        return it == std::end(table) ? nullptr : &*it;
    };
    return state_.family == Family::F553 ? lookup(kCommands553) : lookup(kCommands560);
}

FeatureReport Firmware::plainOf(const FeatureReport &wire) const
{
    FeatureReport plain = wire;
    if (encode_)
        key_.unscramble(plain);
    return plain;
}

Firmware::FeatureResult Firmware::featureOut(const FeatureReport &wire)
{
    FeatureResult result;
    result.plain = wire;
    if (encode_)
        key().unscramble(result.plain);
    result.valid = checksumValid(result.plain);
    if (!result.valid)
        return result;

    // A new command ends whatever transfer the previous one left unfinished.
    pending_ = PendingBlock();
    armedInBlock_.clear();

    const Command *command = find(result.plain[1]);
    if (!command)
        return result;

    std::size_t length = command->fixedLength;
    if (command->lengthByte >= 0)
        length = result.plain[command->lengthByte];
    if (command->kind == Kind::BlockOut && length > 0) {
        pending_.command = command;
        pending_.request = result.plain;
        pending_.length = length;
        // Until the block is complete a read-back sees the request echoed.
        reply_ = result.plain;
        replyScrambled_ = false;
        return result;
    }
    run(*command, result.plain, Bytes());
    return result;
}

void Firmware::run(const Command &command, const FeatureReport &request, const Bytes &block)
{
    Exchange exchange{request, block, {}, {}};
    if (command.kind == Kind::Query || command.kind == Kind::BlockIn)
        exchange.reply[1] = request[1];
    else
        exchange.reply = request;
    command.handler(state_, exchange);
    exchange.reply[0] = 0;
    setChecksum(exchange.reply);
    reply_ = exchange.reply;
    // A reply followed by a data block is read but not descrambled by the host.
    replyScrambled_ = command.kind == Kind::Query;
    if (command.kind == Kind::BlockIn)
        armedInBlock_ = exchange.inBlock;
}

FeatureReport Firmware::featureIn() const
{
    FeatureReport wire = reply_;
    if (replyFault_ == ReplyFault::WrongEcho) {
        wire[1] ^= 0x01;
        setChecksum(wire);
    } else if (replyFault_ == ReplyFault::WrongChecksum) {
        wire[8] ^= 0xFF;
    }
    if (encode_ && replyScrambled_)
        key().scramble(wire);
    return wire;
}

std::vector<Bytes> Firmware::takeInputReports()
{
    std::vector<Bytes> reports;
    for (std::size_t at = 0; at < armedInBlock_.size(); at += kReportLength) {
        const std::size_t end = std::min(at + kReportLength, armedInBlock_.size());
        Bytes report(armedInBlock_.begin() + static_cast<long>(at),
                     armedInBlock_.begin() + static_cast<long>(end));
        report.resize(kReportLength, 0);
        reports.push_back(std::move(report));
    }
    armedInBlock_.clear();
    return reports;
}

void Firmware::output(const std::uint8_t *data, std::size_t size)
{
    if (!pending_.command)
        return;
    const std::size_t take = std::min(size, pending_.length - pending_.data.size());
    pending_.data.insert(pending_.data.end(), data, data + take);
    if (pending_.data.size() < pending_.length)
        return;
    const PendingBlock done = std::move(pending_);
    pending_ = PendingBlock();
    run(*done.command, done.request, done.data);
}

void Firmware::pressDpi(std::uint8_t stage)
{
    state_.setCurrentStage(stage);
}

void Firmware::powerCycle()
{
    pending_ = PendingBlock();
    armedInBlock_.clear();
    reply_ = FeatureReport();
    replyScrambled_ = false;
}

} // namespace tk700sim

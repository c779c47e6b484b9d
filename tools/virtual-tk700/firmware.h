// The firmware of the virtual mouse: turns feature reports and data blocks into state changes
// and prepares what the host reads back. No I/O here; the server moves the reports.
#pragma once

#include "mouse_state.h"
#include "scramble.h"

#include <string>
#include <vector>

namespace tk700sim
{

// Input and output reports of the command interface carry this many data bytes.
constexpr std::size_t kReportLength = 32;
// What the host uses when it is given no code of its own.
constexpr const char *kDefaultScrambleCode = "520147";

class Firmware
{
public:
    Firmware(Family family, const std::string &code, bool encode);

    struct FeatureResult {
        FeatureReport plain{};
        bool valid = false;
    };

    // A feature report from the host, as it came over the wire.
    FeatureResult featureOut(const FeatureReport &wire);
    // A request as the mouse's own code unscrambles it, whatever code a fault makes it use.
    FeatureReport plainOf(const FeatureReport &wire) const;
    // The feature report the host reads next, as it goes over the wire.
    FeatureReport featureIn() const;
    // The data block of a block read, as input reports; armed by the request and released by the
    // feature read that follows it, so that it is queued only once the host starts reading.
    std::vector<Bytes> takeInputReports();
    // One output report without its report ID: the next chunk of a pending data block.
    void output(const std::uint8_t *data, std::size_t size);

    void pressDpi(std::uint8_t stage);
    // Scramble with a code other than the one the mouse was started with.
    void setWrongCode(bool wrong) { wrongCode_ = wrong; }
    // Replies that do not check out: another command byte (with a checksum that fits it), or a
    // checksum that does not fit. Applied to the plain reply, before any scrambling.
    enum class ReplyFault { None, WrongEcho, WrongChecksum };
    void setReplyFault(ReplyFault fault) { replyFault_ = fault; }
    // Power loss: transfers in progress are forgotten, the state is kept.
    void powerCycle();

    const MouseState &state() const { return state_; }
    bool encode() const { return encode_; }
    const std::string &code() const { return code_; }

    enum class Kind {
        Set,      // takes effect on the request
        Query,    // prepares a reply; scrambled when the mouse expects scrambling
        BlockOut, // takes effect when the data block announced by the request has arrived
        BlockIn,  // prepares a data block that is read back as input reports
    };

    struct Exchange {
        const FeatureReport &request; // plain bytes
        const Bytes &block;           // the data block that came with the request
        FeatureReport reply{};
        Bytes inBlock;
    };
    using Handler = void (*)(MouseState &, Exchange &);

    struct Command {
        std::uint8_t code;
        Kind kind;
        int lengthByte;          // the request byte that gives the block length, or -1
        std::size_t fixedLength; // block length when no request byte gives it
        Handler handler;
    };

private:
    const Command *find(std::uint8_t code) const;
    const ScrambleKey &key() const { return wrongCode_ ? wrongKey_ : key_; }
    void run(const Command &command, const FeatureReport &request, const Bytes &block);

    MouseState state_;
    std::string code_;
    ScrambleKey key_;
    ScrambleKey wrongKey_;
    bool encode_;
    bool wrongCode_ = false;
    ReplyFault replyFault_ = ReplyFault::None;

    FeatureReport reply_{};
    bool replyScrambled_ = false;

    struct PendingBlock {
        const Command *command = nullptr;
        FeatureReport request{};
        std::size_t length = 0;
        Bytes data;
    };
    PendingBlock pending_;
    Bytes armedInBlock_;
};

// Another code of the same shape: every digit advanced by one, so it never equals the original.
std::string otherCode(const std::string &code);

} // namespace tk700sim

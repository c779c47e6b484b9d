#pragma once

// What a feature of the main view works with: the mouse model, the device link, the settings
// files and the 560 family's profile image. The view builds one for each call; the feature classes
// need QtCore only, so tests and tools use them without a window.

#include "base/settings_store.h"
#include "device/hid_thread.h"

#include <QString>

#include <array>
#include <functional>
#include <mutex>

constexpr int kProfileBlocks = 5;
constexpr int kProfileBlockSize = 128;
using ProfileImage = uchar[kProfileBlocks][kProfileBlockSize];
// Where each block of the image stands against the mouse's. Blocks are read, and a block that has
// to be read again is changed, on the link's thread (profile_block.cpp): `mutex` guards the two
// arrays, and a block with steps pending belongs to those steps until the last of them has run.
struct BlockStates {
    std::mutex mutex;
    // The last read from the mouse failed: the block is no true copy of the mouse's.
    std::array<bool, kProfileBlocks> unread{};
    // Steps queued on the link's thread that read or change the block.
    std::array<int, kProfileBlocks> pending{};
    // A step could not read the block while others were queued behind it: they fail without
    // asking a mouse that did not answer once more. Cleared when the last of them has run.
    std::array<bool, kProfileBlocks> gaveUp{};
};

struct MouseModel {
    bool isColorful = false;
    bool isGun = false;
    QString icType;
    bool is55328 = false;

    // "560" selects the 560 command family, anything else the 553 family.
    bool family560() const { return icType == QLatin1String("560"); }
};

struct DeviceContext {
    MouseModel model;
    Hid_Thread *link; // null: nothing is sent
    SettingsStore &settings;
    ProfileImage &profileImage;
    // Null: blocks are not tracked, the image is taken as it is and read in place.
    BlockStates *blockStates = nullptr;

    // The command of the mouse's family: `f560` on the 560 family, `f553` on any other. Each is a
    // member function of the link called with `args`, or a callable that takes the link. False
    // without a link: nothing is sent.
    template <typename F553, typename F560, typename... Args>
    bool byFamily(F553 &&f553, F560 &&f560, Args &&...args) const
    {
        if (!link)
            return false;
        if (model.family560())
            return std::invoke(std::forward<F560>(f560), *link, std::forward<Args>(args)...);
        return std::invoke(std::forward<F553>(f553), *link, std::forward<Args>(args)...);
    }
};

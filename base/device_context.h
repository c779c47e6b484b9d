#pragma once

// What a feature of the main view works with: the mouse model, the device link, the settings
// files and the 560 family's profile image. The view builds one for each call; the feature classes
// need QtCore only, so tests and tools use them without a window.

#include "base/settings_store.h"
#include "device/hid_thread.h"

#include <QString>

#include <array>
#include <functional>

constexpr int kProfileBlocks = 5;
constexpr int kProfileBlockSize = 128;
using ProfileImage = uchar[kProfileBlocks][kProfileBlockSize];
// Blocks of the image whose last read from the mouse failed: they are no true copy of the mouse's.
using UnreadBlocks = std::array<bool, kProfileBlocks>;

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
    // Null: blocks are not tracked, the image is taken as it is.
    UnreadBlocks *unreadBlocks = nullptr;

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

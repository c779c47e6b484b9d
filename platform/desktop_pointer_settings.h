#pragma once

// The pointer settings of the desktop this process runs in: one implementation per platform
// (pointer_settings_<platform>.cpp, on Linux one more file per desktop backend).

#include "controller/pointer_settings.h"

#include <memory>

std::unique_ptr<PointerSettings> desktopPointerSettings();

#pragma once

// The desktop-wide key and button observer of this platform (input_observer_<platform>.cpp): it
// reports to Input_Hook's procedures on the GUI thread.

#include "input/input_hook.h"

#include <memory>

std::unique_ptr<InputObserver> createInputObserver();

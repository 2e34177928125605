#pragma once

#include <optional>

// The state of the three lock keys, for the status bar's indicators.
struct CLockKeys
{
    bool m_bCapsLock = false;
    bool m_bNumLock = false;
    bool m_bScrollLock = false;
};

// Read from the X keyboard when the program runs on X; nullopt elsewhere
// (the indicators then stay off).
std::optional<CLockKeys> ReadLockKeys();

#pragma once

#include <cstdint>

// Values of Module1::AlarmMode. The Message Area's change handling also uses the negatives
// of some of them, and -1, as markers that never outlive one change event.
namespace AlarmModes {
inline constexpr std::int16_t ModeIdle = 0;
inline constexpr std::int16_t ModeArmed = 2;
inline constexpr std::int16_t ModeReRunNoTimes = 5;
inline constexpr std::int16_t ModeReRunOnOnly = 6;
inline constexpr std::int16_t ModeReRunOffOnly = 7;
inline constexpr std::int16_t ModeReRunOff = 8;
inline constexpr std::int16_t ModeReRunOn = 9;
inline constexpr std::int16_t ModeLaunchPending = 10;
inline constexpr std::int16_t ModeLaunchFailed = 11;
inline constexpr std::int16_t ModeLaunchFailedInYourFace = 12;
} // namespace AlarmModes

#pragma once

// Where the program keeps its settings file. A portable build keeps it beside the executable; an
// installed build lives in a folder no user may write, so it keeps it in the user's own
// configuration folder. The CMake option PINGOLET_PORTABLE chooses.
enum class SettingsPlace { ProgramFolder, UserConfigFolder };

#ifndef PINGOLET_PORTABLE
#define PINGOLET_PORTABLE 1
#endif

inline constexpr SettingsPlace builtSettingsPlace =
    PINGOLET_PORTABLE ? SettingsPlace::ProgramFolder : SettingsPlace::UserConfigFolder;

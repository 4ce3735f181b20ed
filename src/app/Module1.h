#pragma once

#include "alarm/AlarmMode.h"

#include <QString>
#include <cstdint>

// The settings state every handler shares. Everything starts zeroed; flags hold 0 or -1.
struct Module1 {
    using Int16 = std::int16_t;
    using Int32 = std::int32_t;
    using Flag = std::int16_t;
    static constexpr Flag True = -1;
    static constexpr Flag False = 0;

    QString AppDir; // ends in "/"
    QString IniPath;
    QString CommandLine;
    Int16 CommandLineLength = 0;
    QString MessageText;
    QString StartSetText;
    QString DropDeadText;
    QString IniEditor;
    QString BeepCommand;
    Int16 BeepIntervalMin = 0;
    Int16 BeepIntervalSet = 0;
    Int16 BeepIntervalMax = 0;
    float SecondsToAlarm = 0;
    float LastTickTime = 0;
    float AlarmOnsetTime = 0;
    float DropDeadSeconds = 0;
    float ReRunOffSeconds = 0;
    float ReRunOnSeconds = 0;
    Int32 TickCounter = 0;
    Int16 AlarmMode = AlarmModes::ModeIdle;
    Flag MessageDirty = False;
    Flag SettingsDirty = False;
    Int16 ControlAreaOpen = 0;
    QString CaptionText;
    Int16 CaptionStart = 0;
    Int16 CaptionMarkStep = 0;
    Int16 ScanPosition = 0;
    float ParseValue = 0;
};

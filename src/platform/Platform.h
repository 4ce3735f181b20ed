#pragma once

#include "AlarmBus.h"
#include "AlarmStore.h"
#include "Clock.h"
#include "DesktopNotifier.h"
#include "DocumentOpener.h"
#include "FileSystem.h"
#include "IdleInhibitor.h"
#include "ProfileFile.h"
#include "ProgramEnvironment.h"
#include "ProgramLauncher.h"
#include "SystemBeep.h"
#include "WakeTimer.h"
#include "WindowControl.h"

// The services the program takes from the outside world.
struct Platform {
    Clock& clock;
    SystemBeep& beep;
    ProgramLauncher& launcher;
    WindowControl& window;
    ProgramEnvironment& environment;
    ProfileFile& profile;
    FileSystem& files;
    DocumentOpener& opener;
    DesktopNotifier& notifier;
    AlarmStore& alarms;
    AlarmBus& bus;
    WakeTimer& wake;
    IdleInhibitor& idle;
};

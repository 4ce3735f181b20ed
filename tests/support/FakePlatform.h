#pragma once

#include "QtPrinters.h"
#include "app/Program.h"
#include "platform/Platform.h"

#include <QStringList>
#include <set>
#include <vector>

// Platform services that record what the program asks of them.
struct FakeClock : Clock {
    float now = 0;
    float secondsSinceMidnight() override { return now; }
    void advance(float seconds) { now += seconds; }
};

struct FakeBeep : SystemBeep {
    int count = 0;
    void beep() override { ++count; }
};

struct FakeLauncher : ProgramLauncher {
    struct Launch {
        QString commandLine;
        WindowStyle style;
    };
    std::vector<Launch> launches;
    qint64 nextResult = 0; // 0: the launch fails
    std::set<qint64> running;
    qint64 launch(const QString& commandLine, WindowStyle style) override {
        launches.push_back({commandLine, style});
        if (nextResult > 0)
            running.insert(nextResult);
        return nextResult;
    }
    bool isRunning(qint64 processId) override { return running.count(processId) > 0; }
};

struct FakeWindowControl : WindowControl {
    QStringList activatedTitles;
    int endCount = 0;
    void activateByTitle(const QString& title) override { activatedTitles << title; }
    void endProgram() override { ++endCount; }
};

struct FakeEnvironment : ProgramEnvironment {
    QString directory = QStringLiteral("/opt/pingolet");
    QString tail;
    QString programDirectory() override { return directory; }
    QString commandLineTail() override { return tail; }
};

// A program on fake services; the clock starts at 10:00.
struct Harness {
    FakeClock clock;
    FakeBeep beep;
    FakeLauncher launcher;
    FakeWindowControl window;
    FakeEnvironment environment;
    Platform platform{clock, beep, launcher, window, environment};
    Program program{platform};
    Module1& m = program.m;
    Form1& form = program.form;

    Harness() { clock.now = 36000; }

    // Runs ticks until the next update has happened (the counter shows 0.1).
    void tickToNextUpdate() {
        do
            program.Timer1_Timer();
        while (m.TickCounter != 1);
    }
    void forcedUpdate() {
        m.TickCounter = -1;
        program.Timer1_Timer();
    }
};

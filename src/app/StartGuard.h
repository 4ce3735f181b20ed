#pragma once

#include <QString>

// Qt ends with an abort, and advice to reinstall it, when its platform plugin cannot open the
// display after all: a server that accepted the probe's connection refuses this user. While a
// StartGuard lives, Qt's messages wait; a fatal one prints `line` instead, when there is one,
// and ends the program with status 1. Around the construction of the application object.
class StartGuard {
public:
    explicit StartGuard(QString line);
    // Lets the messages that waited through.
    ~StartGuard();

    StartGuard(const StartGuard&) = delete;
    StartGuard& operator=(const StartGuard&) = delete;
};

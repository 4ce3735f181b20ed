#pragma once

#include "QtPrinters.h"
#include "app/Program.h"
#include "platform/Platform.h"

#include <QStringList>
#include <cmath>
#include <functional>
#include <map>
#include <set>
#include <vector>

// Platform services that record what the program asks of them.
// Setting "now" is a clock set by hand; advance() is time passing, on both clocks.
struct FakeClock : Clock {
    float now = 0;
    double boot = 1000;
    qint64 epochMs = 1796724000000; // 2026-12-08 10:00 UTC
    float secondsSinceMidnight() override { return now; }
    double secondsSinceBoot() override { return boot; }
    qint64 millisecondsSinceEpoch() override { return epochMs; }
    void advance(float seconds) {
        now += seconds;
        boot += seconds;
        epochMs += std::llround(double(seconds) * 1000);
    }
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
    int calmed = 0;
    void stopAskingForAttention() override { ++calmed; }
    bool ending = false;
    bool sessionEnding() override { return ending; }
};

struct FakeEnvironment : ProgramEnvironment {
    QString directory = QStringLiteral("/opt/pingolet");
    QString tail;
    QString programDirectory() override { return directory; }
    QString commandLineTail() override { return tail; }
};

// Settings files in memory: keys by path, section and key, without regard to case.
struct FakeProfile : ProfileFile {
    std::map<QString, QString> values;
    QStringList writes; // "section/key=value" in order
    bool failWrites = false;
    static QString slot(const QString& path, const QString& section, const QString& key) {
        return (path + u'|' + section + u'|' + key).toLower();
    }
    void set(const QString& path, const QString& section, const QString& key, const QString& v) {
        values[slot(path, section, key)] = v;
    }
    QString readString(const QString& section, const QString& key, const QString& defaultValue,
                       const QString& path) override {
        const auto it = values.find(slot(path, section, key));
        return it == values.end() ? defaultValue : it->second.left(254);
    }
    bool writeString(const QString& section, const QString& key, const QString& value,
                     const QString& path) override {
        if (failWrites)
            return false;
        writes << section + u'/' + key + u'=' + value;
        set(path, section, key, value);
        return true;
    }
};

struct FakeFileSystem : FileSystem {
    std::set<QString> existing;
    std::map<QString, QByteArray> written;
    bool failWrites = false;
    bool isFile(const QString& path) override { return existing.count(path) > 0; }
    bool writeFile(const QString& path, const QByteArray& bytes) override {
        if (failWrites)
            return false;
        written[path] = bytes;
        existing.insert(path);
        return true;
    }
};

struct FakeOpener : DocumentOpener {
    QStringList opened;
    bool openDocument(const QString& path) override {
        opened << path;
        return true;
    }
};

struct FakeNotifier : DesktopNotifier {
    struct Notice {
        QString summary;
        QString body;
    };
    std::vector<Notice> posted;
    std::vector<Notice> updates;
    int withdrawn = 0;
    void post(const QString& summary, const QString& body) override {
        posted.push_back({summary, body});
    }
    void update(const QString& summary, const QString& body) override {
        updates.push_back({summary, body});
    }
    void withdraw() override { ++withdrawn; }
};

// Records in memory; a save counts as a write.
struct FakeAlarmStore : AlarmStore {
    std::map<QString, QByteArray> records;
    int saves = 0;
    int removes = 0;
    bool failSaves = false;
    bool save(const QString& id, const QByteArray& text) override {
        ++saves;
        if (failSaves)
            return false;
        records[id] = text;
        return true;
    }
    void remove(const QString& id) override { removes += int(records.erase(id)); }
    bool hold(const QString&) override { return true; }
    std::vector<Stored> list() override {
        std::vector<Stored> all;
        for (const auto& [id, text] : records)
            all.push_back({id, id, text, true, 1});
        return all;
    }
    // The record of the one alarm there is.
    AlarmRecord only() const {
        return records.size() == 1
                   ? AlarmRecordText::read(records.begin()->second).record.value_or(AlarmRecord())
                   : AlarmRecord();
    }
};

// The statuses the program published, in order.
struct FakeAlarmBus : AlarmBus {
    std::vector<AlarmStatus> published;
    void publish(const AlarmStatus& status) override { published.push_back(status); }
};

// The instants it was armed for, in order; the expiry is the test's to bring.
struct FakeWakeTimer : WakeTimer {
    std::vector<qint64> armed;
    int disarmed = 0;
    bool available = true;
    std::function<void()> expired;
    State current = State::None;
    void onExpiry(std::function<void()> e) override { expired = std::move(e); }
    void arm(qint64 dueMs) override {
        armed.push_back(dueMs);
        current = available ? State::Armed : State::Unavailable;
    }
    void disarm() override {
        ++disarmed;
        current = State::None;
    }
    State state() const override { return current; }
    // The instant has come.
    void expire() {
        current = State::None;
        expired();
    }
};

// The reasons of the inhibitions asked for, and how many were given back.
struct FakeIdleInhibitor : IdleInhibitor {
    QStringList reasons;
    int released = 0;
    bool held() const { return int(reasons.size()) > released; }
    void inhibit(const QString& reason) override { reasons << reason; }
    void release() override { ++released; }
};

// A program on fake services; the clock starts at 10:00.
struct Harness {
    FakeClock clock;
    FakeBeep beep;
    FakeLauncher launcher;
    FakeWindowControl window;
    FakeEnvironment environment;
    FakeProfile profile;
    FakeFileSystem files;
    FakeOpener opener;
    FakeNotifier notifier;
    FakeAlarmStore alarms;
    FakeAlarmBus bus;
    FakeWakeTimer wake;
    FakeIdleInhibitor idle;
    Platform platform{clock,  beep,     launcher, window, environment, profile, files,
                      opener, notifier, alarms,   bus,    wake,        idle};
    Program program{platform};
    Module1& m = program.m;
    Form1& form = program.form;

    Harness() { clock.now = 36000; }

    // A settings file beside the program holding these User-Data keys and the current version.
    void settingsFile(std::initializer_list<std::pair<const char*, const char*>> keys) {
        const QString path = environment.directory + QStringLiteral("/Pingolet.ini");
        files.existing.insert(path);
        profile.set(path, "Program-Data", "Version", "1.21");
        for (const auto& [key, value] : keys)
            profile.set(path, "User-Data", QString::fromUtf8(key), QString::fromUtf8(value));
    }

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

// A program on fake services, started with its window shown and driven through the form's
// events as the window drives it: an update every 200 ticks, each 4 s of clock.
struct DrivenProgram {
    Harness h;
    void start(const char* arguments) {
        h.environment.tail = arguments;
        h.form.Load.raise();
        h.program.keeper.windowShown();
    }
    void update(float seconds = 4) {
        h.clock.advance(seconds);
        do
            h.form.Timer1.TimerEvent.raise();
        while (h.m.TickCounter != 1);
    }
    void enter(TextBox& field, const char* text) {
        field.setText(text);
        field.LostFocus.raise();
    }
};

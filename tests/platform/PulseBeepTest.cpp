#include "platform/linux/sound/PulseBeep.h"
#include "PlatformTestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <iostream>
#include <memory>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;
using platformtest::ScopedEnv;
using platformtest::waitUntil;
using SteadyClock = std::chrono::steady_clock;

namespace {

template <typename F> SteadyClock::duration timed(F&& f) {
    const auto start = SteadyClock::now();
    f();
    return SteadyClock::now() - start;
}

int peakOf(const int16_t* begin, const int16_t* end) {
    int peak = 0;
    for (const int16_t* s = begin; s < end; ++s) {
        peak = std::max(peak, std::abs(int(*s)));
    }
    return peak;
}

// Where a sound server would listen: one that hangs up on every client, or never answers.
class UnixListener {
public:
    explicit UnixListener(const QString& path) : path_(path) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray bytes = QFile::encodeName(path);
        std::copy_n(bytes.begin(), std::min(bytes.size(), qsizetype(sizeof(address.sun_path) - 1)),
                    address.sun_path);
        listening_ = fd_ >= 0 &&
                     ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
                     ::listen(fd_, 16) == 0;
    }
    ~UnixListener() {
        ::close(fd_);
        QFile::remove(path_);
    }
    bool listening() const { return listening_; }
    // Hangs up on the waiting clients; returns how many came so far.
    int refuseWaiting() {
        for (int client; (client = ::accept(fd_, nullptr, nullptr)) >= 0; ++refused_) {
            ::close(client);
        }
        return refused_;
    }
    bool hasWaiting() const {
        pollfd entry{fd_, POLLIN, 0};
        return ::poll(&entry, 1, 0) == 1;
    }

private:
    QString path_;
    int fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    bool listening_ = false;
    int refused_ = 0;
};

} // namespace

TEST(PulseBeepTone, IsAHalfScaleSineOf150MillisecondsThatFadesInAndOut) {
    const std::vector<int16_t> tone = PulseBeep::tone();
    ASSERT_EQ(tone.size(), 44100u * 150 / 1000);
    const int16_t* begin = tone.data();
    const int16_t* end = begin + tone.size();
    const int ms = 44100 / 1000;
    EXPECT_NEAR(peakOf(begin, end), 16384, 200);
    EXPECT_GT(peakOf(begin + 12 * ms, begin + 14 * ms), 16000);
    // No jump at either end, where a click would be.
    EXPECT_LT(peakOf(begin, begin + 1), 100);
    EXPECT_LT(peakOf(end - 1, end), 100);
    EXPECT_LT(peakOf(begin, begin + 2 * ms), 16384 / 4);
    EXPECT_LT(peakOf(end - 2 * ms, end), 16384 / 4);
}

// The client library looks for its server, and its settings, through these variables: all of
// them point into a fresh directory, where nothing listens unless a test puts it there.
class PulseBeepTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        // Runtime directories must be private, or their users complain.
        for (const char* folder : {"home", "runtime", "runtime/pulse"}) {
            ASSERT_TRUE(QDir().mkdir(tmp.filePath(folder),
                                     QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        }
        setEnv("HOME", tmp.filePath("home"));
        setEnv("XDG_RUNTIME_DIR", tmp.filePath("runtime"));
        setEnv("PULSE_CLIENTCONFIG", tmp.filePath("client.conf"));
        // Not the desktop's server, whichever way it would be found.
        for (const char* name : {"PULSE_SERVER", "PULSE_RUNTIME_PATH", "DISPLAY"}) {
            env.emplace_back(std::make_unique<ScopedEnv>(name));
        }
    }

    void setEnv(const char* name, const QString& value) {
        env.emplace_back(std::make_unique<ScopedEnv>(name, value.toUtf8()));
    }
    // Where the library looks when nothing names a server.
    QString defaultSocket() const { return tmp.filePath("runtime/pulse/native"); }
    int bells() const { return bellCount->load(); }
    PulseBeep::Bell countBells() const {
        return [count = bellCount] { ++*count; };
    }

    QTemporaryDir tmp;
    std::vector<std::unique_ptr<ScopedEnv>> env;
    std::shared_ptr<std::atomic<int>> bellCount = std::make_shared<std::atomic<int>>(0);
};

TEST_F(PulseBeepTest, WithoutAServerReturnsAtOnceAndRingsTheBellInstead) {
    PulseBeep beep(countBells());
    EXPECT_LT(timed([&] { beep.beep(); }), 50ms);
    EXPECT_TRUE(waitUntil([&] { return bells() >= 1; }));
}

TEST_F(PulseBeepTest, ABeepAskedForWhileHeldSoundsAtTheRelease) {
    PulseBeep beep(countBells());
    beep.hold();
    beep.beep();
    beep.beep();
    EXPECT_EQ(bells(), 0);
    beep.release();
    EXPECT_TRUE(waitUntil([&] { return bells() >= 1; }));
}

TEST_F(PulseBeepTest, WithoutAServerAFloodOfRequestsRingsOnlyAFewBells) {
    std::optional<PulseBeep> beep(std::in_place, countBells());
    // Yielding after each call gives the worker every chance to take each request on its own.
    const auto flood = timed([&] {
        for (int i = 0; i < 1000; ++i) {
            beep->beep();
            std::this_thread::yield();
        }
    });
    EXPECT_LT(flood, 500ms);
    const auto stopping = timed([&] {
        EXPECT_TRUE(waitUntil([&] { return bells() >= 1; }));
        beep.reset();
    });
    EXPECT_LT(stopping, 1s);
    // One bell at most for each 150 ms that a tone would have lasted, and one pending.
    EXPECT_LE(bells(), 2 + (flood + stopping) / 150ms);
}

TEST_F(PulseBeepTest, DoesNotTryTheServerAgainRightAfterItFailed) {
    UnixListener server(defaultSocket());
    ASSERT_TRUE(server.listening());
    PulseBeep beep(countBells());
    beep.beep();
    ASSERT_TRUE(waitUntil([&] { return server.refuseWaiting() >= 1 && bells() >= 1; }));
    beep.beep();
    ASSERT_TRUE(waitUntil([&] { return server.refuseWaiting() >= 0 && bells() >= 2; }));
    EXPECT_EQ(server.refuseWaiting(), 1);
}

// The library would wait 30 s for a server that accepts and never answers.
TEST_F(PulseBeepTest, AServerThatNeverAnswersGetsTheBellInTimeAndDoesNotHoldTheEnd) {
    UnixListener server(defaultSocket());
    ASSERT_TRUE(server.listening());
    std::optional<PulseBeep> beep(std::in_place, countBells());
    const auto asked = SteadyClock::now();
    EXPECT_LT(timed([&] { beep->beep(); }), 50ms);
    ASSERT_TRUE(waitUntil([&] { return bells() >= 1; }, 3s));
    EXPECT_LT(SteadyClock::now() - asked, 2s);
    EXPECT_TRUE(server.hasWaiting());

    // Caught waiting for the server again: the end does not wait for it.
    bellCount->store(0);
    beep.emplace(countBells());
    beep->beep();
    ASSERT_TRUE(waitUntil([&] { return server.hasWaiting(); }));
    EXPECT_LT(timed([&] { beep.reset(); }), 200ms);
    EXPECT_EQ(bells(), 0);
}

// A private sound server with a null sink, whose monitor the tests record: PulseAudio, or
// PipeWire with WirePlumber and pipewire-pulse, as Debian 12's GNOME runs them. Each is found
// the way the library finds a user's: PulseAudio through client.conf, PipeWire where the
// library looks by default.
enum class Server { PulseAudio, PipeWire };
const char* nameOf(Server server) {
    return server == Server::PipeWire ? "PipeWire" : "PulseAudio";
}
void PrintTo(Server server, std::ostream* out) {
    *out << nameOf(server);
}

class PulseBeepWithServerTest : public PulseBeepTest, public ::testing::WithParamInterface<Server> {
protected:
    void SetUp() override {
        const bool pipeWire = GetParam() == Server::PipeWire;
        const QStringList tools =
            pipeWire ? QStringList{"pipewire", "wireplumber", "pipewire-pulse", "dbus-daemon"}
                     : QStringList{"pulseaudio"};
        for (const QString& tool : tools + QStringList{"pactl", "parec"}) {
            if (QStandardPaths::findExecutable(tool).isEmpty()) {
                GTEST_SKIP() << qPrintable(tool) << " is not installed";
            }
        }
        PulseBeepTest::SetUp();
        platformtest::application(); // for QProcess
        QFile conf(tmp.filePath("client.conf"));
        ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
        if (!pipeWire) {
            conf.write("default-server = unix:" + QFile::encodeName(tmp.filePath("pa-native")) +
                       "\n");
        }
        conf.close();
        if (pipeWire) {
            // WirePlumber links no stream without a session bus.
            bus.emplace();
            ASSERT_FALSE(bus->address().isEmpty());
        }
        environment = QProcessEnvironment::systemEnvironment();
        startServer();
    }

    void TearDown() override {
        stop(recorder);
        for (auto it = servers.rbegin(); it != servers.rend(); ++it) {
            stop(**it);
        }
    }

    void startServer() {
        servers.clear();
        if (GetParam() == Server::PipeWire) {
            // WirePlumber ends at once when PipeWire's socket is not there yet.
            start("pipewire", {});
            ASSERT_TRUE(
                waitUntil([&] { return QFileInfo::exists(tmp.filePath("runtime/pipewire-0")); }));
            start("wireplumber", {});
            start("pipewire-pulse", {});
        } else {
            QFile script(tmp.filePath("pa.pa"));
            ASSERT_TRUE(script.open(QIODevice::WriteOnly));
            script.write("load-module module-null-sink sink_name=pingolet_test\n"
                         "load-module module-native-protocol-unix auth-anonymous=1 socket=" +
                         QFile::encodeName(tmp.filePath("pa-native")) +
                         "\nset-default-sink pingolet_test\n");
            script.close();
            start("pulseaudio",
                  {"-n", "--daemonize=no", "--system=no", "--exit-idle-time=-1", "--disallow-exit",
                   "--use-pid-file=no", "--log-target=stderr", "-F", tmp.filePath("pa.pa")});
        }
        ASSERT_TRUE(waitUntil([&] { return pactl({"info"}); }, 10s));
        if (GetParam() == Server::PipeWire) {
            ASSERT_TRUE(pactl({"load-module", "module-null-sink", "sink_name=pingolet_test"}));
            // WirePlumber takes a moment to see the new sink.
            ASSERT_TRUE(waitUntil([&] { return pactl({"set-default-sink", "pingolet_test"}); }));
        }
    }

    void start(const QString& program, const QStringList& arguments) {
        auto& process = servers.emplace_back(std::make_unique<QProcess>());
        process->setProcessEnvironment(environment);
        // Their warnings about running as root go to the log, not into the test output.
        const QString log = tmp.filePath(program + ".log");
        process->setStandardOutputFile(log, QIODevice::Append);
        process->setStandardErrorFile(log, QIODevice::Append);
        process->start(program, arguments);
        ASSERT_TRUE(process->waitForStarted(5000));
    }

    static void stop(QProcess& process) {
        if (process.state() != QProcess::NotRunning) {
            process.terminate();
            if (!process.waitForFinished(2000)) {
                process.kill();
                process.waitForFinished(2000);
            }
        }
    }

    bool pactl(const QStringList& arguments, QByteArray* output = nullptr) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start("pactl", arguments);
        if (!process.waitForFinished(5000)) {
            stop(process);
            return false;
        }
        if (output) {
            *output = process.readAllStandardOutput();
        }
        return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    }

    bool hasClient(const QByteArray& applicationName) {
        QByteArray clients;
        return pactl({"list", "clients"}, &clients) &&
               clients.contains("application.name = \"" + applicationName + '"');
    }

    struct Tone {
        int peak = 0;
        double seconds = 0; // from the first to the last sample above half the peak
        double hertz = 0;   // from the rising zero crossings in between
        double after = 0;   // how much was recorded after it
    };

    static Tone analyse(const QString& file) {
        QFile raw(file);
        if (!raw.open(QIODevice::ReadOnly)) {
            return {};
        }
        const QByteArray bytes = raw.readAll();
        const auto* begin = reinterpret_cast<const int16_t*>(bytes.constData());
        const auto* end = begin + bytes.size() / 2;
        Tone tone;
        tone.peak = peakOf(begin, end);
        if (tone.peak < 100) { // a silent null sink gives exact zeros
            return tone;
        }
        const auto loud = [&](int16_t s) { return std::abs(int(s)) > tone.peak / 2; };
        const auto* first = std::find_if(begin, end, loud);
        const auto* last =
            std::find_if(std::reverse_iterator(end), std::reverse_iterator(first), loud).base();
        tone.seconds = double(last - first) / 44100;
        tone.after = double(end - last) / 44100;
        int rising = 0;
        for (const int16_t* s = first; s + 1 < last; ++s) {
            rising += s[0] < 0 && s[1] >= 0;
        }
        tone.hertz = rising / tone.seconds;
        return tone;
    }

    // Records the sink's monitor while the beep sounds once.
    Tone recordBeep(PulseBeep& beep) {
        const QString file = tmp.filePath("recording.raw");
        QFile::remove(file);
        recorder.setProcessEnvironment(environment);
        recorder.setStandardOutputFile(file);
        recorder.start("parec", {"-d", "pingolet_test.monitor", "--raw", "--format=s16le",
                                 "--rate=44100", "--channels=1", "--latency-msec=20"});
        // The monitor of an idle null sink takes a moment before it delivers anything.
        if (!recorder.waitForStarted(5000) ||
            !waitUntil([&] { return QFileInfo(file).size() > 0; })) {
            ADD_FAILURE() << "parec did not start recording";
            stop(recorder);
            return {};
        }
        beep.beep();
        // Real audio takes real time: wait for the tone and a little silence after it.
        EXPECT_TRUE(waitUntil([&] { return analyse(file).after > 0.3; })) << "no tone recorded";
        stop(recorder);
        return analyse(file);
    }

    std::optional<platformtest::PrivateSessionBus> bus;
    QProcessEnvironment environment;
    std::vector<std::unique_ptr<QProcess>> servers;
    QProcess recorder;
};

TEST_P(PulseBeepWithServerTest, PlaysAShortToneAsAnAlarmOfPingolets) {
    PulseBeep beep(countBells());
    const Tone tone = recordBeep(beep);
    std::cout << "beep: peak " << tone.peak << ", " << tone.seconds * 1000 << " ms, " << tone.hertz
              << " Hz\n";
    EXPECT_GT(tone.peak, 3000);
    EXPECT_LT(tone.peak, 32000);
    EXPECT_GT(tone.seconds, 0.100);
    EXPECT_LT(tone.seconds, 0.200);
    EXPECT_NEAR(tone.hertz, 880, 30);
    EXPECT_EQ(bells(), 0);

    // The stream stays open a while after the tone: what the desktop's mixer shows of it.
    QByteArray streams;
    ASSERT_TRUE(pactl({"list", "sink-inputs"}, &streams));
    for (const char* property :
         {"application.name = \"Pingolet\"", "application.id = \"org.example.pingolet.Pingolet\"",
          "application.icon_name = \"org.example.pingolet.Pingolet\"", "media.role = \"alarm\""}) {
        EXPECT_TRUE(streams.contains(property)) << property << " not in:\n" << streams.constData();
    }
}

TEST_P(PulseBeepWithServerTest, ComesBackAfterTheServerRestarts) {
    PulseBeep beep(countBells());
    EXPECT_GT(recordBeep(beep).peak, 3000);
    TearDown();
    startServer();
    EXPECT_GT(recordBeep(beep).peak, 3000);
    EXPECT_EQ(bells(), 0);
}

TEST_P(PulseBeepWithServerTest, ClosesTheConnectionWhenIdle) {
    PulseBeep beep(countBells(), 500ms);
    beep.beep();
    EXPECT_TRUE(waitUntil([&] { return hasClient("Pingolet"); }));
    EXPECT_TRUE(waitUntil([&] { return !hasClient("Pingolet"); }));
    EXPECT_EQ(bells(), 0);
}

INSTANTIATE_TEST_SUITE_P(Servers, PulseBeepWithServerTest,
                         ::testing::Values(Server::PulseAudio, Server::PipeWire),
                         [](const auto& info) { return nameOf(info.param); });

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
#include <functional>
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
        ::close(client_);
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
    // Takes a waiting client, reads its first request, sends what reply makes of it and keeps
    // the connection open. Returns the request.
    QByteArray answerFirst(const std::function<QByteArray(const QByteArray&)>& reply) {
        client_ = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
        pollfd entry{client_, POLLIN, 0};
        char buffer[4096];
        ssize_t size = 0;
        if (client_ < 0 || ::poll(&entry, 1, 2000) != 1 ||
            (size = ::read(client_, buffer, sizeof(buffer))) <= 0) {
            return {};
        }
        const QByteArray request(buffer, size);
        const QByteArray answer = reply(request);
        EXPECT_EQ(::send(client_, answer.constData(), answer.size(), MSG_NOSIGNAL), answer.size());
        return request;
    }

private:
    QString path_;
    int fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    int client_ = -1;
    bool listening_ = false;
    int refused_ = 0;
};

void appendBigEndian(QByteArray& bytes, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        bytes.append(char(value >> shift));
    }
}

// A command or reply of the sound server's, of numbers only, in its frame.
QByteArray controlFrame(std::initializer_list<uint32_t> numbers) {
    QByteArray fields;
    for (const uint32_t number : numbers) {
        fields.append('L');
        appendBigEndian(fields, number);
    }
    QByteArray frame;
    for (const uint32_t header : {uint32_t(fields.size()), 0xFFFFFFFFu, 0u, 0u, 0u}) {
        appendBigEndian(frame, header);
    }
    return frame + fields;
}

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

// The client library finds its server, and would spawn one, through these variables: all of
// them point into a fresh directory, where nothing listens unless a test puts it there.
class PulseBeepTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        const QString root = tmp.path();
        const std::pair<const char*, QString> variables[] = {
            {"HOME", root + "/home"},
            {"XDG_RUNTIME_DIR", root + "/runtime"},
            {"PULSE_RUNTIME_PATH", root + "/pulse"},
            {"PULSE_SERVER", "unix:" + socketPath()},
        };
        environment = QProcessEnvironment::systemEnvironment();
        for (const auto& [name, value] : variables) {
            // Runtime directories must be private, or their users complain.
            if (!value.startsWith("unix:")) {
                ASSERT_TRUE(
                    QDir().mkdir(value, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
            }
            environment.insert(name, value);
            env.emplace_back(std::make_unique<ScopedEnv>(name, value.toUtf8()));
        }
    }

    QString socketPath() const { return tmp.filePath("native"); }
    int bells() const { return bellCount->load(); }
    // Shared, so that a worker left behind never touches a dead counter.
    PulseBeep::Bell countBells() const {
        return [count = bellCount] { ++*count; };
    }

    QTemporaryDir tmp;
    QProcessEnvironment environment;
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
    UnixListener server(socketPath());
    ASSERT_TRUE(server.listening());
    PulseBeep beep(countBells());
    beep.beep();
    ASSERT_TRUE(waitUntil([&] { return server.refuseWaiting() >= 1 && bells() >= 1; }));
    beep.beep();
    ASSERT_TRUE(waitUntil([&] { return server.refuseWaiting() >= 0 && bells() >= 2; }));
    EXPECT_EQ(server.refuseWaiting(), 1);
}

TEST_F(PulseBeepTest, EndsQuicklyEvenWhenTheServerNeverAnswers) {
    UnixListener server(socketPath());
    ASSERT_TRUE(server.listening());
    std::optional<PulseBeep> beep(std::in_place, countBells());
    beep->beep();
    ASSERT_TRUE(waitUntil([&] { return server.hasWaiting(); }));
    EXPECT_LT(timed([&] { beep.reset(); }), 3s);
    EXPECT_EQ(bells(), 0);
    // Closing the socket lets the worker that was left behind come out and end.
}

TEST_F(PulseBeepTest, GivesUpAtOnceOnAServerThatRefusesOrTalksNonsense) {
    QByteArray cookie(256, 0);
    for (int i = 0; i < cookie.size(); ++i) {
        cookie[i] = char(i * 7 + 1);
    }
    QFile cookieFile(tmp.filePath("cookie"));
    ASSERT_TRUE(cookieFile.open(QIODevice::WriteOnly) && cookieFile.write(cookie) == 256);
    cookieFile.close();
    const ScopedEnv cookieVariable("PULSE_COOKIE", QFile::encodeName(cookieFile.fileName()));
    // The reply goes to the tag of the first request, its authentication: after the frame's
    // header and the command's number.
    const auto tagOf = [](const QByteArray& request) {
        uint32_t tag = 0;
        for (int i = 26; i < 30 && i < request.size(); ++i) {
            tag = tag << 8 | uint8_t(request[i]);
        }
        return tag;
    };
    const std::pair<const char*, std::function<QByteArray(const QByteArray&)>> replies[] = {
        {"access denied",
         [&](auto& request) {
             return controlFrame({0, tagOf(request), 1});
         }},
        {"a reply cut short",
         [&](auto& request) {
             return controlFrame({2, tagOf(request)});
         }},
        {"a server too old",
         [&](auto& request) {
             return controlFrame({2, tagOf(request), 20});
         }},
        {"not a frame", [](auto&) { return QByteArray("HTTP/1.1 400 Bad Request\r\n\r\n"); }},
    };
    for (const auto& [what, reply] : replies) {
        SCOPED_TRACE(what);
        bellCount->store(0);
        UnixListener server(socketPath());
        ASSERT_TRUE(server.listening());
        PulseBeep beep(countBells());
        beep.beep();
        ASSERT_TRUE(waitUntil([&] { return server.hasWaiting(); }));
        EXPECT_TRUE(server.answerFirst(reply).contains(cookie));
        // Well before the seconds that a server which does not answer is given.
        EXPECT_TRUE(waitUntil([&] { return bells() >= 1; }, 1s));
    }
}

// A private sound server with a null sink, whose monitor the tests record.
class PulseBeepWithServerTest : public PulseBeepTest {
protected:
    void SetUp() override {
        for (const char* tool : {"pulseaudio", "pactl", "parec"}) {
            if (QStandardPaths::findExecutable(tool).isEmpty()) {
                GTEST_SKIP() << tool << " is not installed";
            }
        }
        PulseBeepTest::SetUp();
        platformtest::application(); // for QProcess
        QFile script(tmp.filePath("pa.pa"));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("load-module module-null-sink sink_name=pingolet_test\n"
                     "load-module module-native-protocol-unix " +
                     authentication() + " socket=" + QFile::encodeName(socketPath()) +
                     "\nset-default-sink pingolet_test\n");
        script.close();
        startServer();
    }

    virtual QByteArray authentication() const { return "auth-anonymous=1"; }

    void TearDown() override {
        stop(recorder);
        stop(server);
    }

    void startServer() {
        server.setProcessEnvironment(environment);
        // Its warnings about running as root go to the log, not into the test output.
        server.setStandardOutputFile(tmp.filePath("pa.log"), QIODevice::Append);
        server.setStandardErrorFile(tmp.filePath("pa.log"), QIODevice::Append);
        server.start("pulseaudio", {"-n", "--daemonize=no", "--system=no", "--exit-idle-time=-1",
                                    "--disallow-exit", "--use-pid-file=no", "--log-target=stderr",
                                    "-F", tmp.filePath("pa.pa")});
        ASSERT_TRUE(server.waitForStarted(5000));
        ASSERT_TRUE(waitUntil([&] { return pactl({"info"}); }, 10s));
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

    QProcess server;
    QProcess recorder;
};

TEST_F(PulseBeepWithServerTest, PlaysAShortToneThroughTheDefaultOutput) {
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
}

TEST_F(PulseBeepWithServerTest, ComesBackAfterTheServerRestarts) {
    PulseBeep beep(countBells());
    EXPECT_GT(recordBeep(beep).peak, 3000);
    stop(server);
    startServer();
    EXPECT_GT(recordBeep(beep).peak, 3000);
    EXPECT_EQ(bells(), 0);
}

TEST_F(PulseBeepWithServerTest, ClosesTheConnectionWhenIdle) {
    PulseBeep beep(countBells(), 500ms);
    beep.beep();
    EXPECT_TRUE(waitUntil([&] { return hasClient("Pingolet"); }));
    EXPECT_TRUE(waitUntil([&] { return !hasClient("Pingolet"); }));
    EXPECT_EQ(bells(), 0);
}

// As the user's own server runs: clients must authenticate. This client has no cookie to show
// (the server's is where clients do not look), but it is the same user's.
class PulseBeepWithAuthenticatingServerTest : public PulseBeepWithServerTest {
protected:
    QByteArray authentication() const override {
        return "auth-cookie=" + QFile::encodeName(tmp.filePath("server-cookie"));
    }
};

TEST_F(PulseBeepWithAuthenticatingServerTest, PlaysTheTone) {
    PulseBeep beep(countBells());
    EXPECT_GT(recordBeep(beep).peak, 3000);
    EXPECT_EQ(bells(), 0);
}

#include "platform/linux/desktop/DBusNotifier.h"
#include "PlatformTestSupport.h"
#include "platform/linux/shared/SessionBus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

namespace {
const QString Path = QStringLiteral("/org/freedesktop/Notifications");
const QString Interface = QStringLiteral("org.freedesktop.Notifications");

// A notification server on the test's own bus that records its calls. A silent one holds
// its answers back until the test releases them.
class FakeServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Call {
        quint32 replaces;
        QString summary;
        QStringList actions;
        QVariantMap hints;
        int timeout;
    };
    std::vector<Call> notifies;
    std::vector<quint32> closes;
    bool silent = false;
    std::vector<QDBusMessage> held;
    quint32 nextId = 41;

    explicit FakeServer(const QString& address)
        : bus_(QDBusConnection::connectToBus(address, address)) {
        bus_.registerObject(Path, this, QDBusConnection::ExportAllSlots);
        bus_.registerService(QStringLiteral("org.freedesktop.Notifications"));
    }
    ~FakeServer() override { QDBusConnection::disconnectFromBus(bus_.name()); }

    void emitSignal(const QString& name, const QVariantList& args) {
        QDBusMessage signal = QDBusMessage::createSignal(Path, Interface, name);
        signal.setArguments(args);
        bus_.send(signal);
    }
    void answerHeld() {
        for (QDBusMessage& call : held)
            bus_.send(call.createReply(QVariant::fromValue(++nextId)));
        held.clear();
    }

public slots:
    quint32 Notify(const QString&, quint32 replaces, const QString&, const QString& summary,
                   const QString&, const QStringList& actions, const QVariantMap& hints,
                   int timeout, const QDBusMessage& message) {
        notifies.push_back({replaces, summary, actions, hints, timeout});
        if (silent) {
            message.setDelayedReply(true);
            held.push_back(message);
            return 0;
        }
        return replaces ? replaces : ++nextId;
    }
    void CloseNotification(quint32 id) { closes.push_back(id); }

private:
    QDBusConnection bus_;
};

using platformtest::settle;

class DBusNotifierTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(address.isEmpty()) << "dbus-daemon did not start"; }

    platformtest::PrivateSessionBus bus;
    const QString address = bus.address();
    SessionBus session{"notices-test"};
    QStringList shown; // activation tokens of the clicks that brought the window forward
    std::function<void(const QString&)> showWindow = [this](const QString& t) { shown << t; };
    struct Acknowledged : AlarmAnswers {
        int count = 0;
        void Acknowledge() override { ++count; }
        std::optional<QString> Snooze(const QString&) override { return std::nullopt; }
        void Cancel() override {}
    } answers;
    int& acknowledged = answers.count;
};
} // namespace

TEST_F(DBusNotifierTest, ACriticalNoticeChangedInPlaceClickedAndWithdrawn) {
    FakeServer server(address);
    DBusNotifier notifier(session, showWindow);
    notifier.answerWith(answers);
    notifier.post("Tea", "Beeping began 1 min ago.");
    ASSERT_TRUE(settle([&] { return server.notifies.size() == 1; }));
    const FakeServer::Call& first = server.notifies[0];
    EXPECT_EQ(first.summary, "Tea");
    EXPECT_EQ(first.replaces, 0u);
    EXPECT_EQ(first.hints.value("urgency").toInt(), 2);
    EXPECT_EQ(first.hints.value("urgency").metaType(), QMetaType::fromType<uchar>());
    EXPECT_EQ(first.timeout, 0) << "never expires";
    EXPECT_EQ(first.actions, (QStringList{"default", "Show Pingolet", "acknowledge", "Acknowledge",
                                          "open", "Open"}));

    notifier.update("Tea", "Beeping began 1 min ago."); // the same text: nothing to send
    notifier.update("Tea", "Beeping began 2 min ago.");
    ASSERT_TRUE(settle([&] { return server.notifies.size() == 2; }));
    EXPECT_EQ(server.notifies[1].replaces, 42u);

    server.emitSignal("ActionInvoked", {41u, "default"}); // another notice's click
    server.emitSignal("ActivationToken", {42u, "token-1"});
    server.emitSignal("ActionInvoked", {42u, "default"});
    server.emitSignal("ActionInvoked", {42u, "open"}); // its button
    ASSERT_TRUE(settle([&] { return shown.size() == 2; }));
    EXPECT_EQ(shown, (QStringList{"token-1", ""}));
    server.emitSignal("ActionInvoked", {42u, "acknowledge"});
    ASSERT_TRUE(settle([&] { return acknowledged == 1; }));

    notifier.withdraw();
    ASSERT_TRUE(settle([&] { return !server.closes.empty(); }));
    EXPECT_EQ(server.closes, std::vector<quint32>{42});
    notifier.update("Tea", "again");
    settle([] { return false; }, std::chrono::milliseconds(200));
    EXPECT_EQ(server.notifies.size(), 2u) << "a withdrawn notice is not brought back";
}

TEST_F(DBusNotifierTest, ASilentServerHoldsNothingUpAndALateNoticeIsStillTakenBack) {
    FakeServer server(address);
    server.silent = true;
    DBusNotifier notifier(session, showWindow);
    notifier.post("Tea", "body");
    notifier.withdraw(); // before the server answered: the caller did not wait for it
    ASSERT_TRUE(settle([&] { return server.held.size() == 1; }));
    EXPECT_TRUE(server.closes.empty());
    server.answerHeld();
    ASSERT_TRUE(settle([&] { return !server.closes.empty(); }));
    EXPECT_EQ(server.closes, std::vector<quint32>{42});
}

TEST_F(DBusNotifierTest, TheProgramEndingTakesItsNoticeAway) {
    FakeServer server(address);
    {
        DBusNotifier notifier(session, showWindow);
        notifier.post("Tea", "body");
        ASSERT_TRUE(settle([&] { return server.notifies.size() == 1; }));
        settle([] { return false; }, std::chrono::milliseconds(100)); // its id arrives
    }
    ASSERT_TRUE(settle([&] { return !server.closes.empty(); }));
    EXPECT_EQ(server.closes, std::vector<quint32>{42});
}

TEST_F(DBusNotifierTest, NoServerOrNoBusIsNoError) {
    {
        DBusNotifier notifier(session, showWindow); // a bus without a notification server
        notifier.post("Tea", "body");
        notifier.update("Tea", "changed");
        notifier.withdraw();
        settle([] { return false; }, std::chrono::milliseconds(200));
    }
    QTemporaryDir runtime;
    platformtest::ScopedEnv noBus("DBUS_SESSION_BUS_ADDRESS", "");
    platformtest::ScopedEnv noRuntimeBus("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    SessionBus none("none");
    DBusNotifier notifier(none, showWindow);
    notifier.post("Tea", "body");
    notifier.withdraw();
    EXPECT_TRUE(shown.isEmpty());
}

#include "DBusNotifierTest.moc"

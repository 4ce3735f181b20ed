#include "platform/linux/bus/DBusAlarmObject.h"
#include "PlatformTestSupport.h"
#include "platform/linux/shared/AlarmBusNames.h"
#include "platform/linux/shared/SessionBus.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <gtest/gtest.h>

namespace {
using platformtest::settle;

// Counts the PropertiesChanged signals, keeping the last one's changes.
class Changes : public QObject {
    Q_OBJECT
public:
    int count = 0;
    QVariantMap last;
public slots:
    void changed(const QDBusMessage& m) {
        ++count;
        last = qdbus_cast<QVariantMap>(m.arguments().value(1));
    }
};

// What the program was asked, in order.
struct RecordedAnswers : AlarmAnswers {
    QStringList calls;
    void Acknowledge() override { calls << "ack"; }
    std::optional<QString> Snooze(const QString& d) override {
        calls << "snooze " + d;
        if (d == "5")
            return QString("no unit");
        return std::nullopt;
    }
    void Cancel() override { calls << "cancel"; }
};

// The alarm's object on a private bus, called as another program calls it.
struct DBusAlarmObjectTest : testing::Test {
    platformtest::PrivateSessionBus bus;
    SessionBus session{"alarm-test"};
    QDBusConnection caller = QDBusConnection::connectToBus(bus.address(), "alarm-caller");
    RecordedAnswers answers;
    QStringList& calls = answers.calls;
    std::unique_ptr<DBusAlarmObject> object;
    Changes changes;
    AlarmStatus status{
        "0123456789abcdef", "Tea\r\nwith milk", "Tea", AlarmState::Counting, 1796724000000, 0, 20};

    void SetUp() override {
        ASSERT_TRUE(caller.isConnected());
        object = std::make_unique<DBusAlarmObject>(
            session, [this](const QString& token) { calls << "open " + token; });
        object->answerWith(answers);
        caller.connect({}, AlarmBusNames::path(), "org.freedesktop.DBus.Properties",
                       "PropertiesChanged", &changes, SLOT(changed(QDBusMessage)));
        object->publish(status);
        ASSERT_TRUE(
            settle([&] { return caller.interface()->isServiceRegistered(service()).value(); }));
    }
    ~DBusAlarmObjectTest() override { QDBusConnection::disconnectFromBus("alarm-caller"); }
    QString service() const { return AlarmBusNames::service(status.id); }
    QDBusMessage call(const QString& method, const QVariantList& args = {},
                      const QString& interface = AlarmBusNames::interface()) {
        QDBusMessage m =
            QDBusMessage::createMethodCall(service(), AlarmBusNames::path(), interface, method);
        m.setArguments(args);
        return caller.call(m, QDBus::BlockWithGui, 5000); // the object answers from this thread
    }
    QVariant property(const QString& name) {
        const QDBusMessage reply =
            call("Get", {AlarmBusNames::interface(), name}, "org.freedesktop.DBus.Properties");
        return qdbus_cast<QDBusVariant>(reply.arguments().value(0)).variant();
    }
};
} // namespace

TEST_F(DBusAlarmObjectTest, ShowsTheAlarmAndTellsOnlyOfChangesThatMatter) {
    EXPECT_EQ(property("Id").toString(), status.id);
    EXPECT_EQ(property("Title").toString(), "Tea");
    EXPECT_EQ(property("DueTime").toString(), "2026-12-08T10:00:00Z");
    EXPECT_EQ(property("UpdateRate").toInt(), 20);

    // Thousands of updates: the due time wanders by milliseconds, the rate moves.
    for (int i = 0; i < 3000; ++i) {
        status.dueMs = 1796724000000 + (i % 7) * 100;
        status.updateRate = 20 + i % 3;
        object->publish(status);
    }
    status.state = AlarmState::Beeping;
    object->publish(status);
    ASSERT_TRUE(settle([&] { return changes.count >= 1; }));
    settle([] { return false; }, std::chrono::milliseconds(200));
    EXPECT_EQ(changes.count, 1);
    EXPECT_EQ(changes.last.keys(), QStringList{"State"});

    status.dueMs.reset(); // nothing due any more
    status.state = AlarmState::Idle;
    object->publish(status);
    ASSERT_TRUE(settle([&] { return changes.count == 2; }));
    EXPECT_EQ(changes.last.value("DueTime").toString(), "");
}

TEST_F(DBusAlarmObjectTest, MethodsReachTheProgramAndBadCallsChangeNothing) {
    EXPECT_EQ(call("Acknowledge").type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(call("Snooze", {"2m"}).type(), QDBusMessage::ReplyMessage);
    const QDBusMessage unusable = call("Snooze", {"5"});
    EXPECT_EQ(unusable.errorName(), "org.freedesktop.DBus.Error.InvalidArgs");
    EXPECT_EQ(unusable.errorMessage(), "no unit");
    EXPECT_EQ(call("OpenWithToken", {"token-7"}).type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(call("Snooze", {42}).type(), QDBusMessage::ErrorMessage) << "a number, not a text";
    EXPECT_EQ(call("Launch", {"/bin/sh"}).type(), QDBusMessage::ErrorMessage);
    EXPECT_EQ(call("Set",
                   {AlarmBusNames::interface(), "Message", QVariant::fromValue(QDBusVariant("x"))},
                   "org.freedesktop.DBus.Properties")
                  .type(),
              QDBusMessage::ErrorMessage);
    EXPECT_FALSE(property("Nope").isValid());
    EXPECT_EQ(call("Cancel").type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(call("Acknowledge").type(), QDBusMessage::ErrorMessage) << "the alarm has ended";
    EXPECT_EQ(calls, (QStringList{"ack", "snooze 2m", "snooze 5", "open token-7", "cancel"}));
}

#include "DBusAlarmObjectTest.moc"

#include "FakePlatform.h"
#include "view/MainWindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QTimerEvent>
#include <gtest/gtest.h>

#include <memory>

using namespace AlarmModes;

namespace {
constexpr qint64 nsPerMs = 1'000'000;

struct HandTime : SteadyTime {
    qint64 ns = 0;
    qint64 nanoseconds() override { return ns; }
};

// The program beeping at V = 20 (an update every 4 s) in its real window, on fake services and
// a steady time set by hand. The test plays the event loop: it lets the tick timer's interval
// pass on both clocks and then delivers its timeout.
struct Countdown {
    Harness h;
    HandTime time;
    std::unique_ptr<MainWindow> view;
    QTimer* timer = nullptr;
    QLineEdit* counter = nullptr;
    int wakes = 0;

    explicit Countdown(float dropDeadSeconds = 3600) {
        h.settingsFile({{"StartSet", "0"}, {"Message", "Tea"}});
        h.program.Form_Load();
        view = std::make_unique<MainWindow>(h.form, &time);
        view->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        settle();
        timer = view->findChild<QTimer*>("Timer1");
        counter = view->findChild<QLineEdit*>("Text2");
        h.m.SecondsToAlarm = -30;
        h.m.AlarmOnsetTime = h.clock.now - 30;
        h.m.DropDeadSeconds = dropDeadSeconds;
        h.m.AlarmMode = ModeArmed;
        h.form.Timer1.setInterval(20); // counts afresh from the hand-set time
    }
    // Minimising forces an update, as the form's Resize does; a visible run forces the same.
    void minimise() {
        view->showMinimized();
        settle();
    }
    static void settle() {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    void pass(qint64 ns) {
        time.ns += ns;
        h.clock.now = float(36000 + double(time.ns) / 1e9);
    }
    void fire() {
        ++wakes;
        QTimerEvent timeout(timer->timerId());
        QCoreApplication::sendEvent(timer, &timeout);
    }
    void waitAndFire() {
        pass(timer->interval() * nsPerMs);
        fire();
    }

    // What a user sees and hears at each update: when, the beeps so far, the title.
    struct Seen {
        qint64 ms;
        int beeps;
        QString title;
        bool operator==(const Seen&) const = default;
    };
    QList<Seen> updatesUntil(qint64 ms) {
        QList<Seen> seen;
        while (time.ns + timer->interval() * nsPerMs <= ms * nsPerMs) {
            const int beeps = h.beep.count;
            const QString title = view->windowTitle();
            waitAndFire();
            if (h.beep.count != beeps || view->windowTitle() != title)
                seen << Seen{time.ns / nsPerMs, h.beep.count, view->windowTitle()};
        }
        return seen;
    }
};

void PrintTo(const Countdown::Seen& s, std::ostream* os) {
    *os << '{' << s.ms << " ms, " << s.beeps << " beeps, " << s.title.toStdString() << '}';
}
} // namespace

TEST(MinimisedTicks, UpdateAndBeepOnTheSameTicksAsInAVisibleWindowWakingOnlyForThem) {
    QList<Countdown::Seen> visible, minimised;
    int visibleWakes = 0;
    {
        Countdown run;
        run.h.forcedUpdate();
        visible = run.updatesUntil(12'500);
        visibleWakes = run.wakes;
    }
    Countdown run;
    run.minimise();
    const QString shown = run.counter->text();
    minimised = run.updatesUntil(12'500);

    EXPECT_EQ(visible.size(), 3);
    EXPECT_EQ(minimised, visible);
    EXPECT_EQ(visibleWakes, 625);
    EXPECT_EQ(run.wakes, 3);
    EXPECT_EQ(run.counter->text(), shown) << "nobody sees the counter box meanwhile";
}

TEST(MinimisedTicks, RestoringMidCycleShowsTheCountAtOnceAndTicksEveryIntervalAgain) {
    Countdown run;
    run.minimise();
    ASSERT_EQ(run.h.m.TickCounter, 1);
    run.pass(1'500 * nsPerMs); // asleep: 75 ticks fall due, none is raised
    int pushes = 0;
    QObject::connect(run.counter, &QLineEdit::textChanged, [&] { ++pushes; });

    run.view->showNormal();
    EXPECT_EQ(run.h.m.TickCounter, 76);
    EXPECT_EQ(run.counter->text(), "7.6");
    EXPECT_EQ(pushes, 1) << "the catch-up shows only its last count";
    EXPECT_FALSE(run.timer->isSingleShot());
    EXPECT_EQ(run.timer->interval(), 20);
}

TEST(MinimisedTicks, InYourFaceStopsTheCatchUpAtTheUpdateThatRestoresTheWindow) {
    Countdown run(32); // the next update, 4 s on, is 34 s into the alarm
    run.minimise();
    const int beeps = run.h.beep.count;
    run.pass(run.timer->interval() * nsPerMs + 200 * nsPerMs); // woken 10 ticks late
    run.fire();

    EXPECT_FALSE(run.view->isMinimized());
    EXPECT_EQ(run.h.window.activatedTitles.size(), 1);
    EXPECT_EQ(run.h.beep.count, beeps);
    EXPECT_EQ(run.h.m.TickCounter, 1) << "no tick after the one that restored the window";
    EXPECT_FALSE(run.timer->isSingleShot());
    EXPECT_EQ(run.timer->interval(), 20);
}

#include "app/CommandLineNotes.h"
#include "app/DisplayChoice.h"
#include "app/Program.h"
#include "app/StartGuard.h"
#include "app/Usage.h"
#include "indicator/PanelIndicator.h"
#include "platform/ApplicationId.h"
#include "platform/ErrorNote.h"
#include "platform/Platform.h"
#include "platform/linux/alarms/FileAlarmStore.h"
#include "platform/linux/bus/DBusAlarmObject.h"
#include "platform/linux/desktop/DBusNotifier.h"
#include "platform/linux/desktop/DesktopDocumentOpener.h"
#include "platform/linux/desktop/QtWindowControl.h"
#include "platform/linux/power/AlarmClockWake.h"
#include "platform/linux/power/DesktopIdleInhibitor.h"
#include "platform/linux/services/EndSignals.h"
#include "platform/linux/services/PipeSignalIgnored.h"
#include "platform/linux/services/ProcessLauncher.h"
#include "platform/linux/services/QtProgramEnvironment.h"
#include "platform/linux/services/SystemClock.h"
#include "platform/linux/settings/IniProfileFile.h"
#include "platform/linux/settings/LinuxFileSystem.h"
#include "platform/linux/shared/SessionBus.h"
#include "platform/linux/sound/PulseBeep.h"
#include "verbs/AlarmVerbs.h"
#include "verbs/Resume.h"
#include "verbs/VerbRequest.h"
#include "view/AppIcon.h"
#include "view/MainWindow.h"
#include "view/WhenFirstShown.h"

#include <QApplication>
#include <QPixmapCache>

#include <cstdio>
#include <optional>

int main(int argc, char* argv[]) {
    // Answered before anything asks for a display, so that they work from any terminal.
    switch (Usage::request(argc, argv)) {
    case Usage::Request::Help:
        std::fputs(Usage::helpText().toLocal8Bit().constData(), stdout);
        return 0;
    case Usage::Request::Version:
        std::fputs(Usage::versionText().toLocal8Bit().constData(), stdout);
        return 0;
    case Usage::Request::None:
        break;
    }
    FileAlarmStore alarms = FileAlarmStore::forUser();
    std::optional<AlarmRecord> resumed;
    const Verbs::Request verb = Verbs::parse(argc, argv);
    switch (verb.kind) {
    case Verbs::Kind::ResumeAll:
        return Verbs::resumeAll(alarms, alarms.program());
    case Verbs::Kind::ResumeOne: {
        // Held before the display is opened: of two programs for one alarm, one shows it.
        Verbs::Taken taken = Verbs::takeRecord(alarms, verb.id);
        if (!taken.record)
            return taken.exitStatus;
        resumed = std::move(taken.record);
        break;
    }
    case Verbs::Kind::None:
        break;
    default: {
        const QCoreApplication app(argc, argv); // the session bus wants one; no display
        return Verbs::answer(verb, alarms);
    }
    }
    if (const auto noDisplay = DisplayChoice::prepare()) {
        errorNote(*noDisplay);
        return 1;
    }

    // Until the application exists, a display server hanging up on its greeting is a display
    // that does not open.
    std::optional<PipeSignalIgnored> quietPipes(std::in_place);
    std::optional<StartGuard> guard(std::in_place, DisplayChoice::refusedLine());
    QApplication app(argc, argv);
    guard.reset();
    quietPipes.reset();
    QApplication::setDesktopFileName(applicationId());
    // The style's drawings of this window's controls fit in a fraction of Qt's 10 MB default.
    QPixmapCache::setCacheLimit(256);

    SystemClock clock;
    PulseBeep beep;
    ProcessLauncher launcher;
    QtWindowControl window;
    // A resumed alarm takes nothing from its command line: the record says it all.
    QtProgramEnvironment environment(resumed ? QApplication::arguments().mid(0, 1)
                                             : QApplication::arguments());
    IniProfileFile profile;
    LinuxFileSystem files;
    DesktopDocumentOpener opener;
    // The ways in from outside the window, on the program's one session-bus connection: the
    // notification's buttons and the alarm's object, opened once the window is up; the desktop
    // kept from going idle on it too.
    SessionBus sessionBus(QStringLiteral("alarm"));
    const auto open = [&window](const QString& token) { window.bringForward(token); };
    DBusNotifier notifier(sessionBus, open);
    DBusAlarmObject bus(sessionBus, open);
    AlarmClockWake wake;
    DesktopIdleInhibitor idle(sessionBus);
    Platform platform{clock,  beep,     launcher, window, environment, profile, files,
                      opener, notifier, alarms,   bus,    wake,        idle};

    Program program(platform);
    notifier.answerWith(program);
    bus.answerWith(program);

    // Start-up runs before the window appears, as the form's Load does; its beep sounds once
    // the window is on the screen. The window is made after it, from the form as Load left it,
    // so that nothing Load hides is prepared for showing.
    beep.hold();
    if (resumed)
        program.keeper.resume(*resumed);
    else
        program.form.Load.raise();
    for (const QString& note : CommandLineNotes::notes(program))
        errorNote(note);
    if (program.ended())
        return 0;
    MainWindow view(program.form);
    view.show();
    PanelIndicator indicator(sessionBus, alarms, appIcon, alarms.program(), alarms.folder());
    // What the window does not need in order to appear waits until it has been painted: the
    // beep's connection, the alarm's record, its object on the session bus and the panel icon.
    whenFirstShown(view, [&beep, &program, &indicator] {
        beep.release();
        program.keeper.windowShown();
        indicator.start();
    });
    EndSignals endSignals([&program](EndSignals::Ending ending) {
        if (ending == EndSignals::Ending::ByUser)
            program.Form_Unload();
        // Not quit(), which would close the window as if the user had.
        QCoreApplication::exit(0);
    });
    return QApplication::exec();
}

#include "app/Usage.h"

#include "app/Version.h"

Usage::Request Usage::request(int argc, const char* const argv[]) {
    // The program reads its arguments as one line joined by blanks: compare that line.
    QString line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            line += u' ';
        line += QString::fromLocal8Bit(argv[i]);
    }
    if (line == QLatin1String("--help"))
        return Request::Help;
    if (line == QLatin1String("--version"))
        return Request::Version;
    return Request::None;
}

QString Usage::helpText(SettingsPlace place) {
    const bool inConfig = place == SettingsPlace::UserConfigFolder;
    const QString file = inConfig ? QStringLiteral("~/.config/pingolet/Pingolet.ini")
                                  : QStringLiteral("Pingolet.ini beside the program");
    const QString relative = inConfig
                                 ? QStringLiteral("(a relative path is taken from that folder)")
                                 : QStringLiteral("(a relative path is the program folder's)");
    const QString where =
        inConfig
            ? QStringLiteral("The settings file is ~/.config/pingolet/Pingolet.ini, or\n"
                             "$XDG_CONFIG_HOME/pingolet/Pingolet.ini when XDG_CONFIG_HOME is "
                             "set; the folder\nis made when the program first writes there.\n")
            : QStringLiteral("The settings file is Pingolet.ini in the program's own folder.\n");
    return QStringLiteral(
               "Usage: pingolet [/?] [/t1=Min] [/t2=Set] [/t3=Max] [/ss=StartSet] [/dd=DropDead]\n"
               "                [/m=Message | /f=File]\n"
               "       pingolet --resume | --list [--json] | --watch --json\n"
               "       pingolet --ack ID|all | --snooze ID DURATION | --cancel ID | --open ID\n"
               "       pingolet --help | --version\n"
               "\n"
               "A desktop alarm timer that nags. It counts down the StartSet time, then beeps at "
               "every\n"
               "update until someone edits the message; once DropDead has passed it stops beeping "
               "and\n"
               "raises its window and flashes the message at every update instead.\n"
               "\n"
               "  /t1=Min /t2=Set /t3=Max  lowest, starting and highest value V of the "
               "update-rate\n"
               "                           slider: a tick every V ms, an update every 10 x V "
               "ticks\n"
               "  /ss=StartSet             time until the beeping starts: 30s, 25m, 1.5h, 2D, 1W, "
               "or a\n"
               "                           time of day such as 07h30\n"
               "  /dd=DropDead             how long it beeps before it gets in your face\n"
               "  /m=Message               the message; takes the rest of the line, so put it "
               "last\n"
               "  /f=File                  the settings file to use instead of\n"
               "                           ") +
           file + QStringLiteral("\n                           ") + relative +
           QStringLiteral("; put it last\n"
                          "  /?                       write ") +
           file +
           QStringLiteral(
               " afresh, with\n"
               "                           the default settings and the full help text\n"
               "  --resume                 bring back the alarms that were pending when "
               "Pingolet\n"
               "                           was stopped (kept in "
               "~/.local/state/pingolet/)\n"
               "  --list [--json]          the running and the kept alarms, as a table or "
               "JSON\n"
               "  --watch --json           the same JSON at once and at every change\n"
               "  --ack ID|all             acknowledge the alarm (ID or a unique "
               "beginning of it)\n"
               "  --snooze ID DURATION     count down DURATION afresh (5m, 07h30)\n"
               "  --cancel ID              end the alarm, as closing its window does\n"
               "  --open ID                bring its window forward\n"
               "  --help                   show this help and exit\n"
               "  --version                show the version and exit\n"
               "\n"
               "Settings come from the defaults, then the settings file, then the "
               "command line.\n") +
           where + QStringLiteral("Example: pingolet /ss=25m /dd=5m /m=Tea is ready\n");
}

QString Usage::versionText() {
    return QStringLiteral("Pingolet ") + Version::text() + u'\n';
}

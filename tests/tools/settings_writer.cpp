// A second process for the settings-file lock tests.
//   settings_writer save PATH KEY COUNT   saves KEY=1..COUNT in [User-Data], checking before each
//                                         save that the previous one is still there; exits 2
//                                         when a save failed, 3 when one was lost
//   settings_writer hold PATH             takes the file's update lock, prints "held" and waits
//   settings_writer hold-alarm FOLDER ID  holds the alarm record ID of the store in FOLDER,
//                                         prints "held" and waits; exits 2 when it cannot
#include "platform/linux/alarms/FileAlarmStore.h"
#include "platform/linux/settings/FileUpdateLock.h"
#include "platform/linux/settings/IniProfileFile.h"

#include <QString>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

int main(int argc, char** argv) {
    const QString mode = argc > 2 ? QString::fromLocal8Bit(argv[1]) : QString();
    const QString path = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    if (mode == u"hold" || mode == u"hold-alarm") {
        FileAlarmStore store(path, path + QStringLiteral("/entry.desktop"), QStringLiteral("/x"));
        const bool alarm = mode == u"hold-alarm";
        const FileUpdateLock lock(alarm ? QString() : path);
        if (alarm ? !store.hold(QString::fromLocal8Bit(argv[3])) : !lock.acquired())
            return 2;
        std::puts("held");
        std::fflush(stdout);
        for (;;)
            ::pause();
    }
    if (mode != u"save" || argc != 5)
        return 64;
    const QString key = QString::fromLocal8Bit(argv[3]);
    const int count = std::atoi(argv[4]);
    IniProfileFile file;
    int lost = 0;
    for (int n = 1; n <= count; ++n) {
        if (n > 1 && file.readString("User-Data", key, {}, path) != QString::number(n - 1))
            ++lost;
        if (!file.writeString("User-Data", key, QString::number(n), path))
            return 2;
    }
    return lost == 0 ? 0 : 3;
}

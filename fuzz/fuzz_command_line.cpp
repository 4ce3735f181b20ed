// The whole start-up on any command line: the input up to its first NUL is the command-line
// tail; what follows it, if anything, is a settings file beside the program, one "key=value" a
// line ("Version" goes to Program-Data, every other key to User-Data). A few updates follow.
#include "FakePlatform.h"
#include "FuzzCheck.h"

#include <cmath>

using namespace AlarmModes;

namespace {

bool knownMode(std::int16_t mode) {
    return mode == ModeIdle ||
           (mode >= ModeArmed && mode <= ModeLaunchFailedInYourFace && mode != 3 && mode != 4);
}

void settingsFile(Harness& h, QByteArrayView lines) {
    const QString path = h.environment.directory + QStringLiteral("/Pingolet.ini");
    h.settingsFile({});
    for (const QByteArray& line : lines.toByteArray().split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals < 0)
            continue;
        const QString key = QString::fromUtf8(line.first(equals));
        const QString value = QString::fromUtf8(line.sliced(equals + 1));
        const bool programData = key.compare(QLatin1String("Version"), Qt::CaseInsensitive) == 0;
        h.profile.set(path, programData ? "Program-Data" : "User-Data", key, value);
    }
}

void checkState(Harness& h, const char* when) {
    FUZZ_CHECK(knownMode(h.m.AlarmMode), when);
    FUZZ_CHECK(!std::isnan(h.m.SecondsToAlarm), when);
    FUZZ_CHECK(!h.program.ended(), when); // every launch fails here
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray raw = fuzz::bytes(data, size);
    const qsizetype nul = raw.indexOf('\0');
    Harness h;
    h.environment.tail = QString::fromUtf8(nul < 0 ? raw : raw.first(nul));
    if (nul >= 0)
        settingsFile(h, QByteArrayView(raw).sliced(nul + 1));

    h.program.Form_Load();
    checkState(h, "alarm mode after the start-up");

    FUZZ_CHECK(h.m.CommandLine == h.environment.tail, "the command line is kept as given");
    if (h.m.CommandLineLength > 0) {
        FUZZ_CHECK(h.m.AlarmMode == ModeArmed, "a command line arms the alarm");
        if (h.environment.tail.contains(QLatin1String("/?")))
            FUZZ_CHECK(h.files.written.count("/opt/pingolet/Pingolet.ini") == 1,
                       "\"/?\" builds the help file beside the program");
    }
    // Whatever the line and the file held, the slider ends up usable.
    FUZZ_CHECK(1 <= h.m.BeepIntervalMin && h.m.BeepIntervalMin <= h.m.BeepIntervalSet &&
                   h.m.BeepIntervalSet <= h.m.BeepIntervalMax && h.m.BeepIntervalMax <= 999,
               "slider settings in order after the start-up");
    FUZZ_CHECK(h.form.VScroll1.value() == h.m.BeepIntervalSet, "slider shows the setting");
    FUZZ_CHECK(h.form.Timer1.interval() == h.form.VScroll1.value(), "timer follows the slider");

    // Updates across the day and past midnight.
    for (const float step : {1.5f, 59.0f, 3600.0f, 40000.0f, 50000.0f, 0.25f}) {
        h.clock.now = std::fmod(h.clock.now + step, 86400.0f);
        h.m.TickCounter = 0; // the next tick is an update
        h.program.Timer1_Timer();
        checkState(h, "alarm mode after an update");
    }
    return 0;
}

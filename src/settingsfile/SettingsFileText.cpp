#include "settingsfile/SettingsFileText.h"

namespace SettingsFileText {

namespace {

// Where the file lives, as the help text names it.
QString folderOf(SettingsPlace place) {
    if (place == SettingsPlace::UserConfigFolder)
        return QStringLiteral("the user's settings folder ~/.config/pingolet/ (or"
                              " $XDG_CONFIG_HOME/pingolet/)");
    return QStringLiteral("the program's own folder");
}

QStringList build(const QString& folder) {
    // One entry per line of the file, in order; empty entries are the blank lines.
    return {
        QStringLiteral("[User-Data]"),
        QStringLiteral("Message = Default Message"),
        QStringLiteral("BeepIntervalMax = 32"),
        QStringLiteral("BeepIntervalSet = 20"),
        QStringLiteral("BeepIntervalMin = 1"),
        QStringLiteral("DropDead = 0.05h"),
        QStringLiteral("StartSet = 3 min"),
        QStringLiteral("INI_Edit = NotePad"),
        QStringLiteral("BEEP = Beep"),
        QString(),
        QString(),
        QStringLiteral("[Program-Data]"),
        QStringLiteral("Version = 1.21"),
        QString(),
        QString(),
        QStringLiteral("[HELP]    HELP    HELP    HELP    HELP    HELP    HELP    HELP"),
        QString(),
        QStringLiteral(
            "  This program is designed, on being started, to beep and display a message, to wait"
            " for a set time (the \u00ABStartSet\u00BB), and then to beep at regular intervals"
            " until the message is edited. If the beeping goes on unheeded for a set time (the"
            " \u00ABDropDead\u00BB), a second, 'In Your Face' stage begins: the program stops"
            " beeping, restores and raises its window at every update, and flashes the message"
            " between black and red. The message, the waits and the beep rate may be set on the"
            " command line or in this .INI file, and adjusted while the program runs."),
        QStringLiteral("  \u2022 Editing the message serves to acknowledge the alarm."),
        QString(),
        QStringLiteral(
            "  There are three classes of 'Special Message' which access additional functions; each"
            " is typed into the Message Area (the large box) in place of the message:"),
        QStringLiteral(
            "  \u2022 The 'Special Message' \u00AB/?\u00BB will re-build this combination HELP and"
            " .INI file, Pingolet.ini in ") +
            folder +
            QStringLiteral(", with every setting at its default, and then report in the Message"
                           " Area where the file was written."),
        QStringLiteral(
            "    o Note that this message is two characters long, containing nothing else: no"
            " spaces before or after it, and no line feeds."),
        QStringLiteral(
            "  \u2022 'Special Messages' beginning \u00ABStart:\u00BB will have the program try,"
            " when the countdown passes zero, to launch the program named after the colon, for"
            " example \u00ABStart: firefox https://www.example.org/\u00BB. The countdown must still"
            " be running when the message is entered; typed after beeping has commenced, it merely"
            " acknowledges the alarm."),
        QStringLiteral(
            "    o The Message Area will be green to indicate this pending launch. If the launch"
            " succeeds, Pingolet closes itself; if it fails, the Message Area turns red, beeping"
            " commences as for an ordinary alarm, and the launch is tried again at every update."),
        QStringLiteral(
            "    o The item to be launched must be an executable. A document, or any file that"
            " merely has a desktop file association, is not enough (to open a document, launch a"
            " program such as xdg-open with the document as its parameter). The program is found by"
            " its path, which may contain blanks and needs no quotation marks, or by its name on"
            " the PATH, and it is started directly, without a shell."),
        QStringLiteral("    o Command-line parameters may follow the command name."),
        QStringLiteral(
            "  \u2022 Another class of 'Special Message' consists of ones beginning"
            " \u00ABReRun:\u00BB, which repeat Off and On periods for ever, the Message Area yellow"
            " and silent during Off, orange and beeping at every update during On. Typing just"
            " \u00ABReRun:\u00BB fills in the template \u00ABReRun: Off= ## On= ## S,M,H,D,W :"
            " Text\u00BB; replace the ## by the two times, and the text after the second colon"
            " becomes the label in the window title. A small box in the lower left corner of the"
            " Message Area counts the cycles, rising by a half at the start and at the end of each"
            " On period."),
        QStringLiteral(
            "    o Individual time-unit designators may be placed after each number (\u00ABOff=20m"
            " On=30s\u00BB), or a single one after the second number serves for both (\u00ABOff=10"
            " On=5 m\u00BB). The units are S, M, H, D and W, for seconds, minutes, hours, days and"
            " weeks."),
        QStringLiteral(
            "    o Counter performance becomes inaccurate somewhere beyond the first trillion"
            " cycles, which, even at one cycle a second, lies more than 30,000 years away."),
        QString(),
        QStringLiteral(
            "  The vertical scrollbar adjusts the beeping frequency. Beside the base of the"
            " scrollbar, a box shows its current setting: the higher the setting, the longer the"
            " time between beeps. The default setting is 20, and settings from 1 to 32 (the default"
            " range of the scrollbar) are suggested; the range can be changed with"
            " \u00ABBeepIntervalMin\u00BB and \u00ABBeepIntervalMax\u00BB."),
        QStringLiteral(
            "  The next box over is a counter, which may be watched to judge the pace: it counts up"
            " in steps of 0.1 from 0.1 to the scrollbar's setting, then starts again at 0.1, and an"
            " update (with a beep, once beeping has commenced) comes each time it starts again."
            " Since the setting governs both the length of a step and the number of steps, the"
            " adjustment is roughly logarithmic, fine at the low end and coarse at the high end: a"
            " setting of 20 gives an update about every 4 seconds, 32 about every 10 seconds."),
        QStringLiteral(
            "  Another box at the bottom shows. in black on green, the time still to go before"
            " beeping commences, or, in white on red, the time since beeping commenced. It is"
            " updated at each zero-crossing of the counter, that is, at every update, which is when"
            " beeping occurs."),
        QString(),
        QStringLiteral("Data and Limits"),
        QStringLiteral("  \u00ABMessage\u00BB is the message that is displayed."),
        QStringLiteral(
            "  \u2022 A message on the order of 1000 characters, or more, may not be saved"
            " properly, and beyond about a quarter of a million characters saving it may corrupt"
            " this .INI file; note, too, that only the first 254 characters of a saved message are"
            " read back when the program starts."),
        QStringLiteral(
            "  \u00ABBeepIntervalSet\u00BB is an integer that governs the beep interval. It is the"
            " scrollbar's setting and must lie between \u00ABBeepIntervalMin\u00BB and"
            " \u00ABBeepIntervalMax\u00BB (default 20)."),
        QStringLiteral(
            "  \u00ABBeepIntervalMax\u00BB is an integer that governs the maximum setting for the"
            " scrollbar. It must be 999 or lower (default 32)."),
        QStringLiteral(
            "  \u00ABBeepIntervalMin\u00BB is an integer that governs the minimum setting for the"
            " scrollbar. It must be 1 or higher (default 1)."),
        QStringLiteral(
            "  \u00ABStartSet\u00BB governs the delay to onset of alarm. It may be a duration, a"
            " number with a time unit such as \u00AB3 min\u00BB, or a time of day in the form ##h##"
            " or ##h##m on the 24-hour clock, such as \u00AB07h30\u00BB. Beeping is delayed by the"
            " duration, or until that time of day; a time that has already passed today means that"
            " time tomorrow. A value of 0 means no delay."),
        QStringLiteral(
            "  \u2022 Time values may be specified as Seconds (or seconds, Secs, sec, S, s),"
            " Minutes (min, m), Hours (hrs, h), Days (d) or Weeks (wks, w), in upper or lower case,"
            " with or without a blank after the number. Only the first letter of the unit counts,"
            " so \u00AB3 min\u00BB, \u00AB3m\u00BB and \u00AB3 Minutes\u00BB are all three minutes."
            " A number without a unit is not a valid time value."),
        QStringLiteral(
            "  \u2022 The hour marker character for a 'Start At' time must be a lower-case h, and"
            " the hour must have two digits (\u00AB07h30\u00BB, not \u00AB7h30\u00BB); with an"
            " upper-case H, \u00AB07H30\u00BB is read as a duration of 7 hours."),
        QStringLiteral(
            "  \u2022 Adjusting the system clock can generate a 1-day inaccuracy in the countdown,"
            " when the clock is moved:"),
        QStringLiteral("    o Backwards, crossing midnight."),
        QStringLiteral(
            "    o Backwards, before the first update of the day (which is how the program notices"
            " midnight: an update that finds the clock earlier than at the update before, but not"
            " yet at 02h00, is taken to be the first of a new day), that is, moved back while it"
            " shows a time between 00h00 and 02h00."),
        QStringLiteral("    o Forwards, crossing midnight, to a time beyond 02h00"),
        QStringLiteral(
            "  \u2022 Durations of 2^128 seconds (a very long time), and more, are refused: such a"
            " value counts as invalid, just like text that is not a time value."),
        QStringLiteral(
            "  \u2022 Decimal fractions are supported, as is base-ten exponentiation (e.g.2E6s is"
            " 2,000,000 seconds, about 3.3 weeks, and \u00AB1.5 Days\u00BB is 36 hours)."),
        QStringLiteral(
            "  \u00ABDropDead\u00BB is a time value governing the duration of the first alarm"
            " stage: once beeping has gone on for this long without the message being edited, the"
            " program stops beeping and enters the 'In Your Face' stage."),
        QStringLiteral("  \u2022 This function may be defeated by setting it to zero."),
        QStringLiteral(
            "  \u00ABINI_Edit\u00BB specifies the [[Drive:\\]Path\\]Editor to use for editing the"
            " .INI file, which the 'Help' button opens. The default, \u00ABNotePad\u00BB, opens the"
            " file in the desktop's default text editor. Any other value is taken as an editor"
            " command, a program (by its path or by its name on the PATH) followed by any options"
            " it needs, and the path of the .INI file is added to it."),
        QStringLiteral(
            "  \u00ABBEEP\u00BB has a default value of \u00ABBeep\u00BB, which calls the system"
            " beep: a short tone through the desktop's sound output, or the windowing system's bell"
            " when there is no sound server. Any other value is taken as a command, an executable"
            " program (by its path or by its name on the PATH) with optional parameters, which is"
            " started at every beep instead."),
        QStringLiteral(
            "  Illegal data received on start-up can result in default values being used in their"
            " place: slider values out of range or out of order are repaired without notice, and an"
            " unusable \u00ABStartSet\u00BB or \u00ABDropDead\u00BB counts as zero."),
        QStringLiteral("  Illegal entries will be highlighted in red."),
        QString(),
        QStringLiteral("Controls"),
        QStringLiteral(
            "  The 'Save New Settings' button will re-write the Message portion of the .INI file in"
            " use with the current message, line breaks turned into blanks. With the Additional"
            " Control Area open it also writes the scrollbar's maximum, setting and minimum, the"
            " \u00ABStartSet\u00BB while an alarm is still pending, and the \u00ABDropDead\u00BB"
            " when it is not zero."),
        QStringLiteral(
            "  \u2022 This option may not be available if there are no changes to save: the button"
            " is enabled once the message, or a value in the Additional Control Area, has been"
            " changed since start-up or the last save."),
        QStringLiteral(
            "  \u2022 If write-permission is denied, a message advises of the failure, with one"
            " beep, and the unsaved message is kept inside that notice, between \u00AB and \u00BB,"
            " so that it can be copied, or saved again once writing is allowed."),
        QStringLiteral(
            "  Above the slider is a button to open the Additional Control Area, labelled 'More'"
            " (and 'Less' while the area is open, to close it again): a strip of fields for the"
            " scrollbar's maximum, setting and minimum, the \u00ABStartSet\u00BB and the"
            " \u00ABDropDead\u00BB, with the 'Help' button. While it is open, 'Save New Settings'"
            " also writes those values."),
        QStringLiteral(
            "  With the Additional Control Area open, one may also access this HELP through the"
            " 'Help' button, which opens this .INI file for editing, in the desktop's default text"
            " editor (the \u00ABNotePad\u00BB setting) or in the editor named by"
            " \u00ABINI_Edit\u00BB."),
        QStringLiteral("  \u2022 Yes, this can be a catch-22 situation."),
        QStringLiteral(
            "  \u2022 If there is no .INI file to be edited (as may happen when the program is"
            " started with command-line parameters), 'Help' replaces the message with a hint"
            " instead: reduce the message to the two characters \u00AB/?\u00BB to build the file."),
        QStringLiteral(
            "  \u2022 Settings changed by editing the .INI file have no effect on copies of the"
            " program that are already running; the file is read only when the program starts."),
        QString(),
        QStringLiteral(
            "  There are four possible sources for the settings of this program, each over-riding"
            " the one before it: the program's internal defaults, the .INI file, the command line,"
            " and changes made at run-time."),
        QStringLiteral("  \u2022 Program Internal Default Settings are immutable by the user."),
        QStringLiteral(
            "  \u2022 Valid settings imported from the .INI file, will over-ride the internal"
            " defaults."),
        QStringLiteral(
            "  \u2022 Valid Command-Line Parameters, will over-ride .INI file information."),
        QStringLiteral("  \u2022 Changes may also be made at Run-Time."),
        QString(),
        QStringLiteral("Options for the .INI File:"),
        QStringLiteral(
            "  If you wish, you may delete the \u00AB[HELP] . . . HELP\u00BB section, or add notes"
            " of your own to it. The \u00AB[User-Data]\u00BB and \u00AB[Program-Data]\u00BB"
            " sections must stay, and so must every key in use. The values after the equals sign in"
            " \u00AB[User-Data]\u00BB may be changed, but \u00AB[Program-Data]\u00BB must not be;"
            " the lines of \u00AB[User-Data]\u00BB may be put in any order."),
        QStringLiteral(
            "  The text following the equals sign on any line in the \u00AB[User-Data]\u00BB"
            " section may be changed to suit you, within the limits given under Data and Limits"
            " above."),
        QStringLiteral("  \u2022 Invalid data will be laundered out."),
        QString(),
        QStringLiteral("Options for the Command Line:"),
        QStringLiteral(
            "  Command Line arguments may be used to control the program: the message, the timing"
            " (the scrollbar values, \u00ABStartSet\u00BB and \u00ABDropDead\u00BB) and the path of"
            " the .INI file. Whatever is not given on the command line is taken from the .INI file,"
            " and whatever is missing there from the internal defaults. Apart from /m= and /f=,"
            " which must come last, the arguments may come in any order, and their markers in upper"
            " or lower case."),
        QString(),
        QStringLiteral("Allowable Command Line Arguments are:"),
        QStringLiteral("  [/?]"),
        QStringLiteral(
            "  [/t1=BeepIntervalMin] [/t2=BeepIntervalSet] [/t3=BeepIntervalMax] [/ss=StartSet]"
            " [/dd=DropDead] and [[/m=Message] or [/f=File]]"),
        QStringLiteral(
            "  \u2022 /? Regenerates this combination HELP and .INI file, and reports in the"
            " Message Area where it was written (always Pingolet.ini in ") +
            folder +
            QStringLiteral(", even when /f= names another file); all other arguments are then "
                           "ignored. The file"
                           " gets the default settings, so a saved message is lost: press 'Save "
                           "New Settings' to"
                           " write the current message back. When writing is refused, the report "
                           "suggests running"
                           " the program from a folder where the file may be added."),
        QStringLiteral(
            "  \u2022 BeepIntervalMin, BeepIntervalSet, and BeepIntervalMax, StartSet, DropDead,"
            " and Message, are as described under Data and Limits above."),
        QStringLiteral(
            "  \u2022 'File' is the [[Drive:\\]Path\\]File to substitute for the default .INI file."
            " A path that starts with / is taken as complete; any other path is taken relative "
            "to ") +
            folder +
            QStringLiteral(
                ", not to the current folder. Since the path may contain spaces, /f= must"
                " be the last argument."),
        QStringLiteral(
            "  \u2022 Note that, since 'Message' may include spaces, it too must be the last"
            " argument: /m= takes all of the rest of the line."),
        QStringLiteral(
            "    o If both /M= and /F= are specified, and if /M= comes first, the .INI file is"
            " found, but its path (with the /F=) becomes the end of the message; if /F= comes"
            " first, the message becomes part of the path, and the .INI file is not found."),
        QString(),
        QStringLiteral("Options at Run-Time:"),
        QStringLiteral(
            "  Illegal entries in the Additional Control Area will be highlighted in red. They are"
            " repaired by closing and reopening the area (the 'Less' and 'More' button), or by"
            " double-clicking the red field."),
        QStringLiteral(
            "  \u2022 Slider values return to their latest acceptable values. StartSet and DropDead"
            " entries in error become \u00AB0Min.\u00BB, that is, no delay and no 'In Your Face'"
            " stage respectively."),
        QString(),
        QStringLiteral(
            "  The latest version of this program should be available for download from"
            " \u00ABhttps://pingolet.example.org/\u00BB. Bugs and ideas for Upgrade may be"
            " submitted to \u00ABbugs@pingolet.example.org\u00BB."),
    };
}

} // namespace

const QStringList& lines(SettingsPlace place) {
    static const QStringList beside = build(folderOf(SettingsPlace::ProgramFolder));
    static const QStringList inConfig = build(folderOf(SettingsPlace::UserConfigFolder));
    return place == SettingsPlace::UserConfigFolder ? inConfig : beside;
}

} // namespace SettingsFileText

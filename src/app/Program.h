#pragma once

#include "alarm/AlarmKeeper.h"
#include "app/Module1.h"
#include "platform/AlarmAnswers.h"
#include "platform/Platform.h"
#include "ui/Form1.h"

#include <functional>
#include <optional>

// Owns the settings state and the form, and holds the handlers. Each handler lives in the
// folder of its subsystem, in a file of its own name. What keeps the alarm outside the window
// is its keeper's.
class Program : public AlarmAnswers {
public:
    explicit Program(Platform& platform);
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    Module1 m;
    Form1 form;
    AlarmKeeper keeper;

    // Start-up.
    void Form_Load();
    // The tick; also called directly, with TickCounter at -1, for a forced update.
    void Timer1_Timer();
    // How many ticks from now the next update comes, that tick included; changes nothing.
    qint64 ticksToNextUpdate() const;
    // The one alarm output: a beep, or the In-Your-Face stage once DropDead has passed.
    void SoundAlarm(const float& dropDeadSeconds);
    // Shows a seconds value in Text3 and the caption; overwrites its argument with |value|.
    void ShowTime(float& seconds);
    // Seconds denoted by a number and a unit letter; 0 for anything unusable.
    float ParseTimeValue(const QString& text);

    // The StartSet and DropDead fields.
    void Text8_LostFocus();
    void Text10_LostFocus();
    void Text8_DblClick();
    void Text10_DblClick();
    // The seconds a StartSet text gives now, as its field computes them; empty when the
    // computation fails, which leaves the countdown as it was.
    std::optional<float> startSetSeconds(const QString& text);
    // The Message Area: acknowledges, re-arms, or starts a special function.
    void Text4_Change();
    // The update-rate slider.
    void VScroll1_Change();

    // The window: layout, the control area and its slider-limit fields.
    void Form_Resize();
    void CmdOpnX_Click();
    void ApplySliderLimits();
    void RepairSliderLimits();
    static constexpr std::int16_t AreaWidth = 1100; // the open control area's strip, in twips

    // The settings: command line and file in, the help file and single keys out.
    void ReadCommandLine();
    void ReadSettingsFile();
    void BuildSettingsFile();
    void SaveSettings();
    void CmdWrtINI_Click();
    void CmdEditINI_Click();

    // True once the program has ended itself; nothing runs after that.
    bool ended() const { return ended_; }

    // The window closes: closed by the user, the alarm ends with the program and its record
    // goes; closed with the session, its record stays for the next login.
    void Form_Unload();

    // The ways in from outside the window, each doing what the window's own event does: an
    // edit of the message with its text unchanged; a StartSet entry (the reason when the text
    // gives no time to wait, and then nothing changes); closing the window.
    void Acknowledge() override;
    std::optional<QString> Snooze(const QString& duration) override;
    void Cancel() override;

private:
    friend class AlarmKeeper; // it resumes the alarm through the handlers

    void wireHandlers();
    // Runs a form event's handler; once the outermost one is done, the keeper hears of it.
    std::function<void()> handler(std::function<void()> run);
    void launchStartCommand();
    QString startCommand() const;
    // The desktop notice of the In-Your-Face stage: one per alarm, gone when the alarm ends.
    void showNagNotice(float elapsed);
    void endNagNotice();
    void setLastTickTime(float now);
    // Leaving a time field evaluates it only when its text differs from the one last evaluated.
    static bool editedSince(const TextBox& field, const std::optional<QString>& evaluated);
    void correctForMidnight(float now);
    void parseReRunMessage();
    void sliderLimitDblClick(const TextBox& field);

    Platform& platform_;
    bool ended_ = false;
    qint64 beepCommandProcess_ = 0; // the BEEP command started last
    bool noticeShown_ = false;
    QString noticeSummary_;
    QString noticeBody_;
    double lastTickBootTime_ = 0; // the boot clock when LastTickTime was taken
    qint64 lastTickEpochMs_ = 0;  // the wall clock's instant then
    int eventDepth_ = 0;
    std::optional<QString> startSetEvaluated_; // the StartSet text last evaluated, if any
    std::optional<QString> dropDeadEvaluated_;
};

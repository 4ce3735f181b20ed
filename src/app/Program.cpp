#include "app/Program.h"

#include <QRandomGenerator>

namespace {
QString newAlarmId() {
    return QString::number(QRandomGenerator::system()->generate64(), 16).rightJustified(16, u'0');
}
} // namespace

Program::Program(Platform& platform) : platform_(platform), alarmId_(newAlarmId()) {
    wireHandlers();
}

std::function<void()> Program::handler(void (Program::*run)()) {
    return [this, run] {
        ++eventDepth_;
        (this->*run)();
        if (--eventDepth_ == 0)
            afterEvent();
    };
}

// Every form event meets its handler here.
void Program::wireHandlers() {
    form.Load.connect(handler(&Program::Form_Load));
    form.Unload.connect([this] { Form_Unload(); });
    form.Timer1.TimerEvent.connect([this] {
        if (ended_)
            return;
        Timer1_Timer();
        if (m.TickCounter < 2 && eventDepth_ == 0) // an update
            afterEvent();
    });
    form.Timer1.answerTicksToUpdate([this] { return ticksToNextUpdate(); });
    form.Text4.Change.connect(handler(&Program::Text4_Change));
    form.VScroll1.Change.connect(handler(&Program::VScroll1_Change));
    form.Text8.LostFocus.connect(handler(&Program::Text8_LostFocus));
    form.Text10.LostFocus.connect(handler(&Program::Text10_LostFocus));
    form.Text8.DblClick.connect(handler(&Program::Text8_DblClick));
    form.Text10.DblClick.connect(handler(&Program::Text10_DblClick));
    form.CmdWrtINI.Click.connect(handler(&Program::CmdWrtINI_Click));
    form.CmdEditINI.Click.connect(handler(&Program::CmdEditINI_Click));
    form.Resize.connect(handler(&Program::Form_Resize));
    form.CmdOpnX.Click.connect(handler(&Program::CmdOpnX_Click));
    for (TextBox* field : {&form.Text5, &form.Text6, &form.Text7}) {
        field->LostFocus.connect(handler(&Program::ApplySliderLimits));
        field->DblClick.connect([this, field] {
            ++eventDepth_;
            sliderLimitDblClick(*field);
            if (--eventDepth_ == 0)
                afterEvent();
        });
    }
}

#include "app/Program.h"

Program::Program(Platform& platform) : keeper(*this, platform), platform_(platform) {
    wireHandlers();
}

std::function<void()> Program::handler(std::function<void()> run) {
    return [this, run = std::move(run)] {
        ++eventDepth_;
        run();
        if (--eventDepth_ == 0)
            keeper.eventHandled();
    };
}

// Every form event meets its handler here.
void Program::wireHandlers() {
    form.Load.connect(handler([this] { Form_Load(); }));
    form.Unload.connect([this] { Form_Unload(); });
    form.Timer1.TimerEvent.connect([this] {
        if (ended_)
            return;
        Timer1_Timer();
        if (m.TickCounter < 2 && eventDepth_ == 0) // an update
            keeper.eventHandled();
    });
    form.Timer1.answerTicksToUpdate([this] { return ticksToNextUpdate(); });
    form.Text4.Change.connect(handler([this] { Text4_Change(); }));
    form.VScroll1.Change.connect(handler([this] { VScroll1_Change(); }));
    // Tabbing through a time field must not restart the countdown; Enter always evaluates.
    form.Text8.LostFocus.connect(handler([this] {
        if (editedSince(form.Text8, startSetEvaluated_))
            Text8_LostFocus();
    }));
    form.Text10.LostFocus.connect(handler([this] {
        if (editedSince(form.Text10, dropDeadEvaluated_))
            Text10_LostFocus();
    }));
    form.Text8.EnterPressed.connect(handler([this] { Text8_LostFocus(); }));
    form.Text10.EnterPressed.connect(handler([this] { Text10_LostFocus(); }));
    form.Text8.DblClick.connect(handler([this] { Text8_DblClick(); }));
    form.Text10.DblClick.connect(handler([this] { Text10_DblClick(); }));
    form.CmdWrtINI.Click.connect(handler([this] { CmdWrtINI_Click(); }));
    form.CmdEditINI.Click.connect(handler([this] { CmdEditINI_Click(); }));
    form.Resize.connect(handler([this] { Form_Resize(); }));
    form.CmdOpnX.Click.connect(handler([this] { CmdOpnX_Click(); }));
    for (TextBox* field : {&form.Text5, &form.Text6, &form.Text7}) {
        field->LostFocus.connect(handler([this] { ApplySliderLimits(); }));
        field->DblClick.connect(handler([this, field] { sliderLimitDblClick(*field); }));
    }
}

#include "app/Program.h"

Program::Program(Platform& platform) : platform_(platform) {
    wireHandlers();
}

// Every form event meets its handler here.
void Program::wireHandlers() {
    form.Load.connect([this] { Form_Load(); });
    form.Timer1.TimerEvent.connect([this] {
        if (!ended_)
            Timer1_Timer();
    });
    form.Timer1.answerTicksToUpdate([this] { return ticksToNextUpdate(); });
    form.Text4.Change.connect([this] { Text4_Change(); });
    form.VScroll1.Change.connect([this] { VScroll1_Change(); });
    // Tabbing through a time field must not restart the countdown; Enter always evaluates.
    form.Text8.LostFocus.connect([this] {
        if (editedSince(form.Text8, startSetEvaluated_))
            Text8_LostFocus();
    });
    form.Text10.LostFocus.connect([this] {
        if (editedSince(form.Text10, dropDeadEvaluated_))
            Text10_LostFocus();
    });
    form.Text8.EnterPressed.connect([this] { Text8_LostFocus(); });
    form.Text10.EnterPressed.connect([this] { Text10_LostFocus(); });
    form.Text8.DblClick.connect([this] { Text8_DblClick(); });
    form.Text10.DblClick.connect([this] { Text10_DblClick(); });
    form.CmdWrtINI.Click.connect([this] { CmdWrtINI_Click(); });
    form.CmdEditINI.Click.connect([this] { CmdEditINI_Click(); });
    form.Resize.connect([this] { Form_Resize(); });
    form.CmdOpnX.Click.connect([this] { CmdOpnX_Click(); });
    for (TextBox* field : {&form.Text5, &form.Text6, &form.Text7}) {
        field->LostFocus.connect([this] { ApplySliderLimits(); });
        field->DblClick.connect([this, field] { sliderLimitDblClick(*field); });
    }
}

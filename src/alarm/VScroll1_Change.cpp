#include "app/NumberText.h"
#include "app/Program.h"

// A new update rate applies at once, with a forced update.
void Program::VScroll1_Change() {
    const int v = form.VScroll1.value();
    form.Timer1.setInterval(v);
    form.Text1.setText(NumberText::integer(v));
    form.Text6.setText(NumberText::integer(v));
    if (form.Text6.backColor() == Colors::Red)
        ApplySliderLimits();
    m.TickCounter = -1;
    Timer1_Timer();
}

#include "app/IntegerStore.h"
#include "app/Program.h"

// Keeps a minimum size and places the controls from the right and bottom edges, leaving the
// open control area its strip. Every statement reads the window's size afresh, since setting
// it raises this handler again, nested. The integer steps are kept in 32 bits: a 16-bit
// scratch value would refuse them on a window wider or taller than about 2,200 pixels.
void Program::Form_Resize() {
    const int area = m.ControlAreaOpen;
    if (form.windowState() != Form1::Minimized) {
        std::int32_t step = 0;
        if (form.height() < 1280)
            form.setHeight(1600);
        if (form.width() < 4100)
            form.setWidth(4520 + area);

        Store::int32(step, form.height() - 1000.0);
        form.Text4.setHeight(step);
        form.VScroll1.setHeight(step);
        Store::int32(step, form.height() - 800.0);
        form.Text1.setTop(step);
        form.Text2.setTop(step);
        form.Text3.setTop(step);

        form.Text4.setWidth(form.width() - 800 - area);
        form.VScroll1.setLeft(form.width() - 500 - area);
        form.Text1.setLeft(form.width() - 1000 - area);
        form.Text2.setLeft(form.width() - 1700 - area);
        form.Text3.setLeft(form.width() - 2720 - area);
        form.CmdWrtINI.setTop(form.height() - 820);
        form.CmdWrtINI.setLeft(form.width() - 4400 - area);
        form.CmdOpnX.setLeft(form.width() - 625); // stays at the edge, above the area

        if (area != 0) {
            Store::int32(step, form.width() - 50.0 - area);
            for (TextBox* field :
                 {&form.Text5, &form.Text6, &form.Text7, &form.Text8, &form.Text10})
                field->setLeft(step);
            form.CmdEditINI.setLeft(form.CmdOpnX.left());
            if (form.height() < 2500)
                form.setHeight(2500);
        }
        if (form.Text9.visible())
            form.Text9.setTop(form.height() - 1170);
    }
    m.TickCounter = -1;
    Timer1_Timer();
}

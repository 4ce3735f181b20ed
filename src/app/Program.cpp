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
}

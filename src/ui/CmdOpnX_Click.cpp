#include "app/NumberText.h"
#include "app/Program.h"

// "More" and "Less": opens and closes the control area.
void Program::CmdOpnX_Click() {
    form.Text5.setText(NumberText::integer(form.VScroll1.min()));
    form.Text6.setText(NumberText::integer(form.VScroll1.value()));
    form.Text7.setText(NumberText::integer(form.VScroll1.max()));
    for (TextBox* field : {&form.Text5, &form.Text6, &form.Text7})
        field->setBackColor(Colors::WindowBackground);
    if (form.Text8.backColor() == Colors::Red)
        Text8_DblClick();
    if (form.Text10.backColor() == Colors::Red)
        Text10_DblClick();

    const bool opening = form.CmdOpnX.caption() == QLatin1String("More");
    for (Control* c : std::initializer_list<Control*>{&form.Text5, &form.Text6, &form.Text7,
                                                      &form.Text8, &form.Text10, &form.CmdEditINI})
        c->setVisible(opening);
    if (opening) {
        form.CmdOpnX.setCaption(QStringLiteral("Less"));
        m.ControlAreaOpen = AreaWidth;
        if (m.SettingsDirty)
            form.CmdWrtINI.setEnabled(true);
    } else {
        form.CmdOpnX.setCaption(QStringLiteral("More"));
        m.ControlAreaOpen = 0;
        if (!m.MessageDirty)
            form.CmdWrtINI.setEnabled(false);
    }
    Form_Resize();
}

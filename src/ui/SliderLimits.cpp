#include "app/IntegerStore.h"
#include "app/NumberRule.h"
#include "app/NumberText.h"
#include "app/Program.h"

namespace {
double fieldValue(const TextBox& field) {
    return NumberRule::leadingNumber(field.text()).value_or(0);
}
} // namespace

// Checks the maximum, setting and minimum fields together and applies a valid triple to the
// (inverted) slider; offending fields turn red.
void Program::ApplySliderLimits() {
    for (TextBox* field : {&form.Text5, &form.Text6, &form.Text7})
        field->setBackColor(Colors::WindowBackground);

    // Read once: moving the slider's ends can move its value, which rewrites the setting field
    // before the value the user typed has been applied.
    const double max = fieldValue(form.Text5);
    const double set = fieldValue(form.Text6);
    const double min = fieldValue(form.Text7);

    if (max <= 999 && set <= max && min <= set && min >= 1) {
        if (const auto top = Store::toInt16(max))
            form.VScroll1.setMin(*top);
        if (const auto bottom = Store::toInt16(min))
            form.VScroll1.setMax(*bottom);
        if (const auto value = Store::toInt16(set))
            form.VScroll1.setValue(*value);
        form.CmdWrtINI.setEnabled(true);
        m.SettingsDirty = Module1::True;
        return;
    }
    if (max > 999)
        form.Text5.setBackColor(Colors::Red);
    if (set > max) {
        form.Text5.setBackColor(Colors::Red);
        form.Text6.setBackColor(Colors::Red);
    }
    if (min > set) {
        form.Text6.setBackColor(Colors::Red);
        form.Text7.setBackColor(Colors::Red);
    }
    if (min < 1)
        form.Text7.setBackColor(Colors::Red);
    if (max == 0)
        form.Text5.setBackColor(Colors::Red);
    if (set == 0)
        form.Text6.setBackColor(Colors::Red);
    if (min == 0)
        form.Text7.setBackColor(Colors::Red);
}

// Red fields go back to the slider's own values, which then pass the check.
void Program::RepairSliderLimits() {
    if (form.Text5.backColor() == Colors::Red)
        form.Text5.setText(NumberText::integer(form.VScroll1.min()));
    if (form.Text6.backColor() == Colors::Red)
        form.Text6.setText(NumberText::integer(form.VScroll1.value()));
    if (form.Text7.backColor() == Colors::Red)
        form.Text7.setText(NumberText::integer(form.VScroll1.max()));
    ApplySliderLimits();
}

void Program::sliderLimitDblClick(const TextBox& field) {
    if (field.backColor() == Colors::Red)
        RepairSliderLimits();
}

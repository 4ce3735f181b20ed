#include "AccessibleNames.h"

QString accessibleNameOf(const Form1& form, const Control& control) {
    const struct {
        const Control& control;
        const char* name;
    } names[] = {
        {form.Text4, "Message"},
        {form.Text3, "Time to or since the beeping"},
        {form.Text2, "Update counter"},
        {form.Text1, "Update rate in use"},
        {form.Text9, "ReRun cycles"},
        {form.VScroll1, "Update rate"},
        {form.Text5, "Maximum slider value"},
        {form.Text6, "Slider setting"},
        {form.Text7, "Minimum slider value"},
        {form.Text8, "StartSet"},
        {form.Text10, "DropDead"},
    };
    for (const auto& entry : names) {
        if (&entry.control == &control)
            return QString::fromLatin1(entry.name);
    }
    return {};
}

#pragma once

#include "QtPrinters.h"
#include "ui/Form1.h"
#include "view/MainWindow.h"

#include <QStringList>
#include <gtest/gtest.h>

// A form and its window; controls are found by name, as the window names each widget after
// its control.
class ViewTest : public ::testing::Test {
protected:
    template <typename W> W& widget(const Control& control) {
        W* w = view.findChild<W*>(control.name());
        if (!w)
            throw std::runtime_error("no widget for " + control.name().toStdString());
        return *w;
    }

    // Counts an event and keeps the texts of a text box as each Change saw it.
    struct Recorder {
        int count = 0;
        QStringList texts;
    };
    void recordChanges(TextBox& box, Recorder& r) {
        box.Change.connect([&box, &r] {
            ++r.count;
            r.texts << box.text();
        });
    }
    static void count(Event& event, int& counter) {
        event.connect([&counter] { ++counter; });
    }

    Form1 form;
    MainWindow view{form};
};

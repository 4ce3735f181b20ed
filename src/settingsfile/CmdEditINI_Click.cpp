#include "app/Program.h"
#include "platform/AsciiCase.h"
#include "settingsfile/SettingsFileNames.h"

// "Help": the settings file, with its help section, in the configured editor.
void Program::CmdEditINI_Click() {
    if (!platform_.files.isFile(m.IniPath)) {
        form.Text4.setText(QStringLiteral("Reduce this message to the two characters «/?» to build "
                                          "the missing combination HELP and .INI file."));
        return;
    }
    // "NotePad", the default, stands for the desktop's own editor for the file.
    if (AsciiCase::equal(m.IniEditor, SettingsFileNames::DefaultEditor))
        platform_.opener.openDocument(m.IniPath);
    else
        platform_.launcher.launch(m.IniEditor + QStringLiteral(" \"") + m.IniPath + u'"',
                                  WindowStyle::NormalFocus);
}

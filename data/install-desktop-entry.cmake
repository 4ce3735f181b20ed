# Run by `cmake --install`: the menu entry, pointing at the program and the icon where this
# installation put them. PINGOLET_DESKTOP_ENTRY and PINGOLET_STAGING come from CMakeLists.txt.
set(program "${CMAKE_INSTALL_PREFIX}/pingolet")
set(icon "${CMAKE_INSTALL_PREFIX}/pingolet.png")

# The program's path goes in quotes, so that a folder with blanks in its name works too. Inside
# them the desktop-entry rules escape \ " ` $ with a backslash, % by doubling it, and the file's
# own string rules then double every backslash.
set(quoted "${program}")
string(REPLACE "\\" "\\\\\\\\" quoted "${quoted}")
foreach(special "\"" "`" "$")
  string(REPLACE "${special}" "\\\\${special}" quoted "${quoted}")
endforeach()
string(REPLACE "%" "%%" quoted "${quoted}")
string(REPLACE "\\" "\\\\" icon "${icon}")

# Plain replacing: a regular expression's replacement would eat the backslashes.
file(READ "${PINGOLET_DESKTOP_ENTRY}" entry)
foreach(line "Exec=pingolet" "Icon=pingolet")
  string(FIND "${entry}" "\n${line}\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${PINGOLET_DESKTOP_ENTRY} has no line ${line}")
  endif()
endforeach()
string(REPLACE "\nExec=pingolet\n" "\nExec=\"${quoted}\"\n" entry "${entry}")
string(REPLACE "\nIcon=pingolet\n" "\nIcon=${icon}\n" entry "${entry}")
file(WRITE "${PINGOLET_STAGING}/pingolet.desktop" "${entry}")
file(INSTALL "${PINGOLET_STAGING}/pingolet.desktop"
  DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications")

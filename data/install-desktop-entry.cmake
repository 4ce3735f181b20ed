# Run by `cmake --install`: the menu entry. PINGOLET_DESKTOP_ENTRY, PINGOLET_STAGING,
# PINGOLET_BY_PATH, PINGOLET_BINDIR and PINGOLET_DATADIR come from CMakeLists.txt.
# An installed build finds the program on the PATH and the icon in the theme, by name; a portable
# one names them by the paths this installation gave them.
get_filename_component(entry_name "${PINGOLET_DESKTOP_ENTRY}" NAME)
file(READ "${PINGOLET_DESKTOP_ENTRY}" entry)
foreach(line "Exec=pingolet" "Icon=")
  string(FIND "${entry}" "\n${line}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${PINGOLET_DESKTOP_ENTRY} has no line ${line}")
  endif()
endforeach()

if(PINGOLET_BY_PATH)
  set(program "${CMAKE_INSTALL_PREFIX}/${PINGOLET_BINDIR}/pingolet")
  string(REGEX MATCH "\nIcon=([^\n]*)\n" icon_line "${entry}")
  set(icon_name "${CMAKE_MATCH_1}")
  set(icon "${CMAKE_INSTALL_PREFIX}/${PINGOLET_DATADIR}/icons/hicolor/256x256/apps/${icon_name}.png")

  # The program's path goes in quotes, so that a folder with blanks in its name works too.
  # Inside them the desktop-entry rules escape \ " ` $ with a backslash, % by doubling it, and
  # the file's own string rules then double every backslash.
  set(quoted "${program}")
  string(REPLACE "\\" "\\\\\\\\" quoted "${quoted}")
  foreach(special "\"" "`" "$")
    string(REPLACE "${special}" "\\\\${special}" quoted "${quoted}")
  endforeach()
  string(REPLACE "%" "%%" quoted "${quoted}")
  string(REPLACE "\\" "\\\\" icon "${icon}")

  # Plain replacing: a regular expression's replacement would eat the backslashes.
  string(REPLACE "\nExec=pingolet\n" "\nExec=\"${quoted}\"\n" entry "${entry}")
  string(REPLACE "\nIcon=${icon_name}\n" "\nIcon=${icon}\n" entry "${entry}")
endif()

file(WRITE "${PINGOLET_STAGING}/${entry_name}" "${entry}")
file(INSTALL "${PINGOLET_STAGING}/${entry_name}"
  DESTINATION "${CMAKE_INSTALL_PREFIX}/${PINGOLET_DATADIR}/applications")

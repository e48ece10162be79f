# Install step: writes morvane-tesk.desktop into the install folder, pointing at the game and the
# icon installed there. Runs at install time, when the folder is known (--prefix).

# The folder as an absolute path: a relative --prefix is taken from where cmake --install runs.
cmake_path(ABSOLUTE_PATH CMAKE_INSTALL_PREFIX BASE_DIRECTORY "$ENV{PWD}" NORMALIZE OUTPUT_VARIABLE folder)
string(REGEX REPLACE "(.)/+$" "\\1" folder "${folder}")
if(folder MATCHES "[\n\r\t]")
  message(FATAL_ERROR "A desktop entry cannot name a folder with a line break or tab in it: ${folder}")
endif()

# A value of the desktop entry's string type: a backslash is written as two.
function(desktop_string text out)
  string(REPLACE "\\" "\\\\" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# The program of the Exec key as one quoted argument: inside the quotes ", `, $ and \ take a
# backslash, a % is doubled (a lone one would start a field code), then the whole is a string value.
set(program "${folder}/morvane-tesk")
foreach(special "\\" "\"" "`" "$")
  string(REPLACE "${special}" "\\${special}" program "${program}")
endforeach()
string(REPLACE "%" "%%" program "${program}")
desktop_string("\"${program}\"" exec)
desktop_string("${folder}/morvane-tesk.png" icon)
desktop_string("${folder}" path)

set(entry "$ENV{DESTDIR}${folder}/morvane-tesk.desktop")
message(STATUS "Installing: ${entry}")
file(WRITE "${entry}" "[Desktop Entry]
Type=Application
Name=Morvane-Tesk
Comment=Steer the craft down its course and land it gently on the pad
Exec=${exec}
Path=${path}
Icon=${icon}
Terminal=false
Categories=Game;ArcadeGame;
")

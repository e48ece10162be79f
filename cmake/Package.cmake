# The downloadable archive: `cmake --build --preset release --target package` makes
# morvane-tesk-VERSION-linux-x86_64.tar.gz, one folder to unpack wherever the player can write and
# start from there, scores beside the game. It holds the player's install (cmake/Install.cmake) less
# its desktop entry, whose paths would name the folder the archive was made in, and what a Debian
# desktop without Qt or the IPA fonts lacks: the Qt plugins and libraries the game loads, the fonts
# with their licence, a qt.conf that keeps Qt inside the folder, and `add-to-menu`, which writes a
# desktop entry for wherever the folder is now.

# The Qt plugins a real run opens (found in /proc/PID/maps under Xvfb, with and without a sound
# server, and with ibus as the input method): the X platform, the input methods, and the image
# formats Qt loads whenever it lists what it can read. Sounds play through Qt Multimedia's own
# PulseAudio client: no multimedia back end plugin is ever opened. Nor are the xcb OpenGL
# integrations (the windows draw without OpenGL). The GTK 3 theme, which Qt opens on GNOME-like
# desktops only, stays out: it would need GTK, and the windows draw in their own colours and fonts.
set(MORVANE_QT_PLUGINS platforms/libqxcb.so platforminputcontexts/libcomposeplatforminputcontextplugin.so
  platforminputcontexts/libibusplatforminputcontextplugin.so imageformats/libqgif.so imageformats/libqico.so
  imageformats/libqjpeg.so)

# What the archive leaves to the system, by the names the loader asks for; the README's "Download and
# play" lists the same with the Debian packages and why, and tests/release checks a real run against
# it. These belong to the machine, not to Qt: they speak to its X server, its graphics drivers, its
# sound server and its message bus, or read its font configuration. What they need in turn stays
# theirs.
set(MORVANE_SYSTEM_LIBRARIES
  # the C and C++ runtime, and the two compression libraries every Debian system has
  "^ld-linux" "^lib(c|m|dl|pthread|rt|resolv)\\.so" "^libstdc\\+\\+\\.so" "^libgcc_s\\.so" "^lib(z|zstd)\\.so"
  # the X11 client libraries: Xlib and its extensions, the core xcb library, session management
  "^libX" "^libxcb\\.so" "^lib(SM|ICE)\\.so"
  # OpenGL through the system's dispatch library and drivers
  "^lib(GL|GLX|GLdispatch|EGL|OpenGL)\\.so"
  # fontconfig and FreeType, with the libraries they read fonts and their configuration with
  "^lib(fontconfig|freetype|png16|expat|brotli(common|dec))\\.so"
  # the client of the sound server (PulseAudio, or PipeWire's stand-in for it)
  "^libpulse\\.so"
  # GLib and the D-Bus library
  "^libglib-2\\.0\\.so" "^libdbus-1\\.so")

# Every library the game and the plugins need beyond the system's goes to lib/. The game finds it
# there through RPATH $ORIGIN/lib rather than RUNPATH: the loader searches a program's RUNPATH only
# for the program's own libraries, its RPATH also for those of the libraries and plugins, which
# carry no search path of their own. An install or a build without lib/ finds the system's Qt as
# before. The build gets the same path: otherwise its program would carry a placeholder of empty
# entries for the install to fill, and the loader reads an empty entry as the current folder.
# The sound back end beside the game finds Qt Multimedia and its company in lib/ the same way.
foreach(target morvane-tesk morvane_sound)
  set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN/lib" BUILD_WITH_INSTALL_RPATH ON)
  target_link_options(${target} PRIVATE "LINKER:--disable-new-dtags")
endforeach()
foreach(plugin ${MORVANE_QT_PLUGINS})
  # Qt declares no targets for its plugins in a shared build: one of our own for each.
  string(MAKE_C_IDENTIFIER "morvane_qt_${plugin}" target)
  add_library(${target} MODULE IMPORTED)
  set_target_properties(${target} PROPERTIES IMPORTED_LOCATION ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS}/${plugin})
  get_filename_component(type ${plugin} DIRECTORY)
  install(IMPORTED_RUNTIME_ARTIFACTS ${target} RUNTIME_DEPENDENCY_SET morvane_runtime
    LIBRARY DESTINATION plugins/${type} COMPONENT Bundle EXCLUDE_FROM_ALL)
endforeach()
install(RUNTIME_DEPENDENCY_SET morvane_runtime
  PRE_EXCLUDE_REGEXES ${MORVANE_SYSTEM_LIBRARIES}
  LIBRARY DESTINATION lib COMPONENT Bundle EXCLUDE_FROM_ALL)

# The two faces the windows draw with (controls/qt/QtLook.h), from Debian's fonts-ipafont-gothic,
# and the licence that must travel with them.
find_path(MORVANE_IPA_GOTHIC_FOLDER ipagp.ttf PATHS /usr/share/fonts/opentype/ipafont-gothic NO_DEFAULT_PATH)
find_file(MORVANE_IPA_GOTHIC_LICENCE copyright PATHS /usr/share/doc/fonts-ipafont-gothic NO_DEFAULT_PATH)
if(NOT MORVANE_IPA_GOTHIC_FOLDER OR NOT MORVANE_IPA_GOTHIC_LICENCE)
  message(WARNING "fonts-ipafont-gothic is not installed: the package target will fail")
endif()
install(FILES ${MORVANE_IPA_GOTHIC_FOLDER}/ipagp.ttf ${MORVANE_IPA_GOTHIC_FOLDER}/ipag.ttf
  DESTINATION fonts COMPONENT Bundle EXCLUDE_FROM_ALL)
install(FILES ${MORVANE_IPA_GOTHIC_LICENCE} DESTINATION fonts RENAME IPA-Font-License.txt
  COMPONENT Bundle EXCLUDE_FROM_ALL)

install(FILES ${CMAKE_CURRENT_LIST_DIR}/package/qt.conf DESTINATION . COMPONENT Bundle EXCLUDE_FROM_ALL)
install(PROGRAMS ${CMAKE_CURRENT_LIST_DIR}/package/add-to-menu DESTINATION . COMPONENT Bundle EXCLUDE_FROM_ALL)

set(CPACK_GENERATOR TGZ)
set(CPACK_PACKAGE_NAME morvane-tesk)
set(CPACK_PACKAGE_FILE_NAME morvane-tesk-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR})
# The player's install without the desktop entry (the default component), and the bundle.
set(CPACK_INSTALL_CMAKE_PROJECTS
  "${CMAKE_BINARY_DIR};MorvaneTesk;Unspecified;/" "${CMAKE_BINARY_DIR};MorvaneTesk;Bundle;/")
# Debug information is for the build folder: stripped, the game shrinks from some 10 MB to 0.3.
set(CPACK_STRIP_FILES TRUE)
include(CPack)

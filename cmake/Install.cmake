# A player's install: `cmake --install build --prefix FOLDER` puts the game, its sound back end, its
# four sounds, its icon and a desktop entry into that one folder and nowhere else. The game keeps its score file
# beside itself, so FOLDER must be one the player can write: a folder of their own, not /usr.
# The sounds and the icon are installed where they are made (resources/).
# The libraries the game needs are gathered for the downloadable archive (cmake/Package.cmake), whose
# folder may be anywhere and so gets no desktop entry of its own.
install(TARGETS morvane-tesk RUNTIME_DEPENDENCY_SET morvane_runtime RUNTIME DESTINATION .)
# The sound back end, which the game opens from beside itself.
install(TARGETS morvane_sound RUNTIME_DEPENDENCY_SET morvane_runtime LIBRARY DESTINATION .)
install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/WriteDesktopEntry.cmake COMPONENT DesktopEntry)

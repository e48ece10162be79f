# A player's install: `cmake --install build --prefix FOLDER` puts the game, its four sounds, its
# icon and a desktop entry into that one folder and nowhere else. The game keeps its score file
# beside itself, so FOLDER must be one the player can write: a folder of their own, not /usr.
# The sounds and the icon are installed where they are made (resources/).
install(TARGETS morvane-tesk RUNTIME DESTINATION .)
install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/WriteDesktopEntry.cmake)

// Whole games as transcripts: what a player does, line by line, and what the game shows and keeps
// after each step, kept under tests/fixtures/games/.
//
// A transcript starts the game afresh (as AppStart does, in a program folder of its own). A line
// "> STEP" is something the player (or the test's set-up) does; every other line "what: value" is a
// fact that must hold after the steps above it: the value shown must equal the value written, word
// for word. "#" lines are notes; a line "=== NAME" starts another game afresh in the same file. The steps and
// the facts a transcript may use are listed in Transcript.cpp; any other is an error.
#pragma once

#include <QString>

// Plays tests/fixtures/games/`name`; false after printing every fact that did not hold.
bool PlayTranscript(const QString& name);

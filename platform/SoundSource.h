// Hands Qt's sound service a sound file whose path need not be UTF-8.
#pragma once

#include <QUrl>
#include <string>

class QObject;

// Opens the sound file at `path` (the system's bytes, any encoding) without waiting and returns a
// local URL that Qt can represent and that reaches the same file: /proc/self/fd/N. The descriptor
// stays open until `keeper` is destroyed. An empty URL when the file cannot be opened or is no
// playable WAV file (IsPlayableWav): a pipe, a folder, a huge or broken file.
QUrl OpenSoundSource(const std::string& path, QObject* keeper);

#pragma once
// A message of the engine, the wave library or the platform layer (an
// exception's text) as the window shows it: through the program's
// catalogue, matched whole or by the pattern it was made from, so that an
// English window reads it in English, line by line. A line the catalogue
// does not know is shown as it is.
#include <QString>

QString EngineMessage(const char *What);

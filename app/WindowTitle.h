#pragma once
// The main window's title: the recording's file name, then the program's.
#include <QString>

#include <string>

class QWidget;

// "name.wav — Redivev" for the file FileName (the name's bytes), or the
// program's name alone when FileName is empty.
void ShowRecordingTitle(QWidget &Window, const std::string &FileName);

#pragma once
// A recording read in place whose file another program shortens while it
// is open: the samples past the file's new end read as zeros. The window
// says so at its next paint, and each command that would read the samples
// (play, export, detection, Auto, normalisation) is refused with the same
// words, so that zeros are never played or saved as if they were the
// recording; the areas, which need no sample, may still be saved as
// labels. Opening the file again reads what it now holds.
#include <QString>

class TForm1;

// What the user is told, naming the file; empty while the recording is
// whole.
QString ShrunkRecordingReport(const TForm1 &Form);

// When the recording has shrunk: shows the report and returns true, so the
// command does nothing else.
bool RefuseShrunkRecording(TForm1 &Form);

#pragma once
// Started where no graphical display can be reached (a headless machine, an
// ssh session), Qt would abort with an advice to reinstall. The program
// says what is missing in one line instead and exits with status 1.

// The line, without its newline.
extern const char NoDisplayMessage[];

// True when a display or a platform was chosen: DISPLAY, WAYLAND_DISPLAY or
// QT_QPA_PLATFORM set and not empty, or Qt's -platform option given.
bool DisplayChosen(int Argc, char **Argv);

// Prints the line on stderr; returns the exit status.
int ReportNoDisplay();

// While it lives, a fatal error of Qt (which is what the platform's start
// reports when the display that was named cannot be reached) ends the
// program with the line and status 1 instead of an abort. Qt's warnings
// before it, which name the display, still show.
class TNoDisplayGuard {
public:
    TNoDisplayGuard();
    ~TNoDisplayGuard();
    TNoDisplayGuard(const TNoDisplayGuard &) = delete;
    TNoDisplayGuard &operator=(const TNoDisplayGuard &) = delete;
};

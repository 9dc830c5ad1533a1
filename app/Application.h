#pragma once
// The application object with the program's standard error display: an
// error that escapes an event handler ends that handler only; its message is
// shown in a message box and the program goes on.
#include "app/Language.h"

#include <QApplication>
#include <QString>

class TApplication : public QApplication {
    Q_OBJECT

public:
    TApplication(int &Argc, char **Argv);

    bool notify(QObject *Receiver, QEvent *Event) override;

private:
    // The user's language, chosen once at start.
    TLanguage FLanguage{QLocale::system()};
};

// The standard error display: the message in a box with an OK button.
void ShowErrorMessage(const QString &Text);

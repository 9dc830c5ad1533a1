#pragma once
// Opening a file the user named outside the open dialog: on the command
// line, or by dropping it on the main window.
#include <QByteArray>
#include <QByteArrayList>
#include <QString>

class TForm1;

// The menu command "WAVの読込" with FileName as the dialog's answer; an
// error it raises is shown as any command's is. The name as bytes, as the
// file system has them, or as text (QFile::encodeName gives its bytes).
void OpenNamedFile(TForm1 &Form, const QByteArray &FileName);
void OpenNamedFile(TForm1 &Form, const QString &FileName);

// Arguments as the program got them in argv, as bytes (the program's name
// first, Qt's own options taken out): a name that is not UTF-8 opens too,
// which no QString could carry. The first file named is opened once the
// event loop runs and the main window is on the screen, so that any message
// about the file stands over it.
void OpenFromCommandLine(TForm1 &Form, const QByteArrayList &Arguments);

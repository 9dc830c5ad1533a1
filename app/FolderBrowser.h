#pragma once
// Opening a folder in the desktop's file browser, and saying so when it
// cannot be done.
#include <QString>

#include <functional>

class QObject;

// Starts xdg-open on Folder and returns at once. When no launcher is
// installed, or the launcher ends in failure (no file browser, no desktop
// that knows folders), Report gets "フォルダを開けませんでした" and the folder's
// path on a second line, from the event loop. Report is not called once
// Context is gone.
void OpenFolderInBrowser(const QString &Folder, QObject *Context, std::function<void(const QString &Text)> Report);

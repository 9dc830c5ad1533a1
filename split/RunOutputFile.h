#pragma once
// A file a run writes beside its pieces (a manifest, the error report):
// created, or emptied only once it is known to be none of the files the
// run reads.
#include "platform/FileIdentity.h"

#include <QByteArray>

#include <vector>

// Opens Path for writing into Handle and empties it; an error message
// naming the path, or empty. A file that is one of Inputs is left as it is
// and is the error (Handle is then open, for the caller to close), which
// names the output as What ("the manifest").
QByteArray CreateRunOutput(const QByteArray &Path, const std::vector<TFileIdentity> &Inputs, int &Handle,
                           const QByteArray &What);

// Path's folders made as the pieces' are; an error message, or empty.
QByteArray MakeParentFolders(const QByteArray &Path);

// Text appended with whole write calls, so that a run killed at any moment
// leaves whole lines; an error message naming the path, or empty.
QByteArray AppendToRunOutput(int Handle, const QByteArray &Path, const QByteArray &Text);

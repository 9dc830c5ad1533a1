#pragma once
// The long work on the recording: opening one, finding its areas (Trim!),
// suggesting settings from it (Auto), exporting its pieces and normalising
// it. Work that takes long runs off the window's thread behind a progress
// dialog with Cancel (Parent's); a command cancelled or failed leaves the
// document as it was. The questions before a command and the messages
// after it are the window's; these return what there is to say.
#include "engine/Normalisation.h"
#include "engine/SuggestSettings.h"
#include "engine/TrimArea.h"

#include <QCoreApplication>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QWidget;
class TMappedRecording;
class TRecordingDocument;
class TZuWave;

class TRecordingCommands {
    // The texts are the window's, in its part of the catalogue.
    Q_DECLARE_TR_FUNCTIONS(TForm1)

public:
    TRecordingCommands(TRecordingDocument &Document, TZuWave &Scratch, QWidget *Parent);

    // Reads FileName (the name's bytes as the file system has them) into
    // fresh parts that take the document's place only when all of it has
    // succeeded. Nothing when the user cancelled; else the mapping the
    // document let go of, to be dropped once nothing reads it (unmapping
    // hours of a recording takes a moment). Raises the reader's error with
    // the file's name on a line of its own.
    struct TOpened {
        std::shared_ptr<TMappedRecording> Left;
    };
    std::optional<TOpened> Open(const std::string &FileName);

    // Finds the areas with Settings and puts them in the document; the
    // message that tells the result, nothing when cancelled.
    std::optional<QString> Detect(const TTrimSettings &Settings);

    // Settings suggested for a piece of Target, and the number of pieces
    // they cut with MaximumSize (the user's, which the suggestion leaves);
    // nothing when cancelled.
    struct TSuggestion {
        TSuggestedSettings Suggested;
        std::int32_t Pieces = 0;
    };
    std::optional<TSuggestion> Suggest(TPieceTarget Target, std::int32_t MaximumSize);
    // What the suggestion found, as told to the user.
    static QString Describe(const TSuggestion &Suggestion);

    // Writes each area into Folder as a piece, named Names (empty: WAVE00,
    // ...); the scratch wave then holds the last area saved. The failure
    // or the cancel as told to the user; empty when all were written.
    QString Export(const QString &Folder, const std::vector<std::string> &Names);

    // Scales the recording to the loudest it can be, in place.
    TNormaliseResult Normalise();

private:
    TRecordingDocument &FDocument;
    TZuWave &FScratch;
    QWidget *FParent;
};

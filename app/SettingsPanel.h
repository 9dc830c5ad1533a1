#pragma once
// The settings of the tool window's panel: the designed rows (a bar and the
// edit that mirrors it), the rows added below them (the margin around each
// piece, the window levels are read over, the longest piece, and what a
// piece should hold beside the band and Join short), values typed beyond a
// bar, the settings as designed, the values the window remembers, and the
// step back from a suggestion. It works on the panel's widgets alone,
// found by their designed names.
#include "app/SettingEdits.h"
#include "engine/SuggestSettings.h"
#include "engine/TrimArea.h"

#include <QCoreApplication>
#include <QMap>
#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QScrollBar;
class QWidget;

// The settings' values by the names of their bars (and of the lists).
using TSettingValues = QMap<QString, int>;

class TSettingsPanel : public QObject {
    // The texts are the window's, in its part of the catalogue.
    Q_DECLARE_TR_FUNCTIONS(TForm1)

public:
    // Report shows a refused entry's message; Changed runs after a typed
    // value has been taken (the guide marks follow it). Owned by Parent:
    // the panel may change windows.
    TSettingsPanel(QWidget &ControlPanel, QObject *Parent, std::function<void(const QString &)> Report,
                   std::function<void()> Changed);

    // The rows added below the designed ones.
    QScrollBar *SBPAD = nullptr;
    QScrollBar *SBLW = nullptr;
    QScrollBar *SBMAX = nullptr; // 0 is none
    QLineEdit *Edit11 = nullptr;
    QLineEdit *Edit12 = nullptr;
    QLineEdit *Edit13 = nullptr;
    QComboBox *TargetBox = nullptr;
    QComboBox *BandBox = nullptr;
    QCheckBox *JoinShortBox = nullptr;

    // A setting's value: its bar's, or a typed one beyond it.
    std::int32_t ValueOf(const QScrollBar *Bar) const;
    // What detection reads.
    TTrimSettings TrimSettings() const;
    TPieceTarget Target() const;
    // After Bar has moved: its mirror shows it, a typed value beyond it
    // goes, and the cut start level keeps to its minimum.
    void BarChanged(QScrollBar *Bar);
    // The recording's sample rate, for times and their equivalents.
    void SetRate(std::uint32_t Rate);

    TSettingValues Values() const;
    // Sets each setting named in Values; names no setting has are skipped.
    void Apply(const TSettingValues &Values);
    // The settings as the form description gives them.
    const TSettingValues &Designed() const { return FDesigned; }

    // Takes the suggested settings, keeping those before for UndoSuggestion
    // (the zoom is the view's, not the cut's, and stays).
    void TakeSuggestion(const TTrimSettings &Suggested);
    bool CanUndoSuggestion() const { return FBeforeSuggestion.has_value(); }
    void UndoSuggestion();

private:
    QScrollBar *Bar(const char *Name) const;
    QLineEdit *Edit(const char *Name) const;
    void AddMarginRows();
    void AddTargetRow();
    void AddSettingEdits();

    QWidget &FPanel;
    TSettingEdits *FEdits = nullptr;
    TSettingValues FDesigned;
    std::optional<TSettingValues> FBeforeSuggestion;
};

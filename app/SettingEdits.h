#pragma once
// The edits beside the detection settings' bars: each shows its bar's value
// from the start and takes a typed one in any form redivev-split takes
// (1000, 0.4s, 400ms, -40dB), with its equivalent at the recording's rate
// shown beside it. A typed value beyond either end of its bar stands at that
// end on the bar and counts as typed for detection and the guide marks:
// the bars stop short of a pause between sentences, and of the levels of a
// quiet recording.
#include "engine/SettingText.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QScrollBar;

class TSettingEdits : public QObject {
public:
    // Report shows a refused entry's message; Changed runs after a typed
    // value has been taken (the guide marks follow it).
    TSettingEdits(QObject *Parent, std::function<void(const QString &)> Report, std::function<void()> Changed);

    // A bar, its edit and the label its equivalent is shown in.
    void Add(QScrollBar *Bar, QLineEdit *Edit, QLabel *Equivalent, TSettingKind Kind);

    // The value the settings stand at: the bar's, or the typed one beyond it.
    std::int32_t ValueOf(const QScrollBar *Bar) const;
    // Called after a bar's change has been mirrored: a move of the bar
    // itself drops a typed value beyond it.
    void BarChanged(const QScrollBar *Bar);
    // The recording's sample rate, for times and their equivalents.
    void SetRate(std::uint32_t Rate);
    // Takes the text typed into Bar's edit; false, with the edit showing the
    // value it had, when the text is no setting.
    bool Apply(const QScrollBar *Bar, const QString &Text);

    // Whether Bar is one of the settings here.
    bool Holds(const QScrollBar *Bar) const { return Find(Bar) != nullptr; }
    // Sets Bar's setting to Panel, in the panel's units, as if typed.
    void Set(const QScrollBar *Bar, std::int32_t Panel);

private:
    struct TSetting {
        QScrollBar *Bar;
        QLineEdit *Edit;
        QLabel *Equivalent;
        TSettingKind Kind;
        std::optional<TSettingValue> Beyond;
    };
    TSetting *Find(const QScrollBar *Bar);
    const TSetting *Find(const QScrollBar *Bar) const;
    std::int32_t Value(const TSetting &Setting) const;
    void Show(TSetting &Setting);
    // Moves the bar towards Value, keeping Beyond through its change.
    void Place(TSetting &Setting, int Value, std::optional<TSettingValue> Beyond);

    std::vector<TSetting> FSettings;
    std::function<void(const QString &)> FReport;
    std::function<void()> FChanged;
    std::uint32_t FRate = 44100;
    bool FApplying = false;
};

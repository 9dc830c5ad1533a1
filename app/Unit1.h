#pragma once
// TForm1: the main window. It shows the recording and the user's work on it
// (Document, which owns ZU and the trim-area list), owns the scratch wave
// (ZU2) and every control including the parameter panel shown in the tool
// window, and hands each command to the part that carries it out. Members
// keep their designed names so that tests and the bench driver can reach
// them.
#include "app/RecordingCommands.h"
#include "app/RecordingDocument.h"
#include "app/SettingsPanel.h"
#include "app/WaveView.h"
#include "engine/ExportFolder.h"
#include "engine/SampleView.h"
#include "engine/TrimArea.h"
#include "wave/ZuWAVE.h"

#include <QMainWindow>
#include <QMap>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QCheckBox;
class QCloseEvent;
class QComboBox;
class QFileDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollArea;
class QScrollBar;
class QTimer;
class QWidget;
class QTableView;
class TAreaListModel;
class TOverviewStrip;
class TPaintBox;
class TLevelReading;
class TMappedRecording;
class TPeakLevels;
class TTimeRuler;
class TViewCanvas;

namespace Ui {
class TForm1;
}


class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    // The recording and the user's work on it; the window shows it.
    TRecordingDocument Document{this};

    // --- Modal seam: tests and the bench driver replace these. ---
    // Runs the open dialog; the chosen file, or nothing when cancelled.
    std::function<std::optional<QString>()> RunOpenDialog;
    // A plain message box with an OK button.
    std::function<void(const QString &Text)> ShowMessage;
    // The export's question; true for Yes.
    std::function<bool(const QString &Caption, const QString &Text)> AskYesNo;
    // Opens a folder in the platform's file browser.
    std::function<void(const QString &Folder)> OpenFolder;
    // Directory of the executable; the default export folder lives there.
    std::function<QString()> ProgramDirectory;
    // Runs the folder dialog starting at Current; the folder chosen, or
    // nothing when cancelled.
    std::function<std::optional<QString>(const QString &Current)> RunFolderDialog;
    // Hand corrections not yet kept (exported or saved as labels), before
    // they would go: Save writes them as labels first; Cancel keeps them
    // and stops what was asked for.
    enum class TUnsavedAnswer { Save, Discard, Cancel };
    std::function<TUnsavedAnswer(const QString &Text)> AskSaveAreas;
    // Whether the areas kept from the last time this recording was open
    // come back; true for Yes.
    std::function<bool(const QString &Text)> OfferKeptAreas;
    // The program's standard error display, for errors that no command
    // catches but that cannot travel up to the event loop (those of a paint).
    std::function<void(const QString &Text)> ShowError;

    // --- Handlers (designed names) ---
    void FormCreate();
    void FileOpen();
    // What FileOpen does with the file chosen: FileName is the name's bytes,
    // as the file system has them (they need not be UTF-8).
    void OpenRecording(const std::string &FileName);
    void PBPaint();
    void SBChange(QScrollBar *Sender);
    void N3Click();
    void N5Click();
    void N6Click();
    void Playthistrimarea1Click();
    void ZUNotify(QObject *Sender);
    void Button2MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void Button2MouseMove(Qt::KeyboardModifiers Shift, int X, int Y);
    void Button2MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void Timer1Timer();
    void PBMouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    // The export folder's choice, and the settings put back as designed.
    void ChooseFolder1Click();
    void Defaults1Click();

    void ExtractArea(std::int32_t Index);


    // --- Zoom, overview and playhead (app/ViewZoom.cpp, app/WaveView.cpp) ---
    // The envelope levels of the loaded recording, built at its first use;
    // a new object for every recording and every change of its samples.
    // A long recording's are read by FLevelReading meanwhile.
    std::shared_ptr<const TPeakLevels> Peaks();
    // Starts reading the levels afresh: at once for a short recording, on
    // a thread of its own for a long one.
    void ReadLevels();
    std::unique_ptr<TLevelReading> FLevelReading;
    // Where the view stands: zoom, scroll and the playhead.
    TWaveView *WaveView = nullptr;
    QMenu *ViewMenu = nullptr;
    QAction *ZoomInAction = nullptr;
    QAction *ZoomOutAction = nullptr;
    QAction *WholeRecordingAction = nullptr;
    QMenu *PlayMenu = nullptr;
    QAction *StopAction = nullptr;
    TTimeRuler *Ruler = nullptr;
    TOverviewStrip *Overview = nullptr;

    // --- Hand corrections of the areas (app/AreaMouse.cpp, app/AreaList.cpp) ---
    // Left button on the view: select, move an edge, or with Shift add.
    void AreaMouseDown(Qt::KeyboardModifiers Shift, int X);
    void AreaMouseMove(int X);
    void AreaMouseUp(int X);
    // Repaints after a change of the areas; the list beside the view, and
    // the undo steps, follow at every paint (ListAreaChanges), whoever
    // changed the areas.
    void ShowAreaChanges();
    // Shows area Index in the view and selects it; PlayArea plays it.
    void ShowArea(int Index);
    void PlayArea(int Index);
    // The frame a left click last put the cursor on.
    std::optional<std::int64_t> FCursor;
    // The area a Shift+drag is adding, while it is dragged.
    std::optional<TTrimArea> FNewArea;
    QMenu *EditMenu = nullptr;
    QAction *UndoAction = nullptr;
    QAction *RedoAction = nullptr;
    QAction *DeleteAreaAction = nullptr;
    QAction *SplitAction = nullptr;
    QAction *MergeAction = nullptr;
    QTableView *AreaList = nullptr;
    TAreaListModel *AreaListModel = nullptr;


    // --- Wave components and timer ---
    // The recording (the document's wave) and the scratch wave.
    TZuWave *ZU = &Document.Wave();
    TZuWave *ZU2 = new TZuWave(this);
    // The long work on the recording, each command's.
    TRecordingCommands Commands{Document, *ZU2, this};
    QTimer *Timer1 = nullptr;
    QFileDialog *OD = nullptr;

    // --- Main window controls ---
    QWidget *Panel2 = nullptr;
    QWidget *Panel3 = nullptr;
    QScrollBar *SB = nullptr;
    QFrame *Panel6 = nullptr;
    QScrollBar *SBV = nullptr;
    TPaintBox *PB = nullptr;

    // --- Parameter panel (lives in the tool window) ---
    QWidget *ControlPanel = nullptr;
    QWidget *Panel4 = nullptr;
    QLabel *Label9 = nullptr;
    QLabel *Label10 = nullptr;
    QScrollBar *SBVZ = nullptr;
    QScrollBar *SBHZ = nullptr;
    QLineEdit *Edit7 = nullptr;
    QLineEdit *Edit8 = nullptr;
    QPushButton *Button1 = nullptr; // "Trim!"
    QPushButton *Button2 = nullptr; // "Move"
    QFrame *Bevel3 = nullptr;
    QScrollArea *ScrollBox1 = nullptr;
    QScrollBar *SBCSL = nullptr;
    QScrollBar *SBN = nullptr;
    QScrollBar *SBNW = nullptr;
    QScrollBar *SBML = nullptr;
    QScrollBar *SBMZSS = nullptr;
    QScrollBar *SBMZSE = nullptr;
    QScrollBar *SBAFIL = nullptr;
    QScrollBar *SBAFOL = nullptr;
    QLineEdit *Edit1 = nullptr;
    QLineEdit *Edit2 = nullptr;
    QLineEdit *Edit3 = nullptr;
    QLineEdit *Edit4 = nullptr;
    QLineEdit *Edit5 = nullptr;
    QLineEdit *Edit6 = nullptr;
    QLineEdit *Edit9 = nullptr;
    QLineEdit *Edit10 = nullptr;
    // The detection settings on the panel, with the rows added to it.
    TSettingsPanel *Settings = nullptr;
    // Settings suggested from the recording, and the way back from them.
    QAction *SuggestAction = nullptr;
    QAction *UndoSuggestAction = nullptr;
    QPushButton *SuggestButton = nullptr;
    void SuggestClick();
    void UndoSuggestClick();
    // Label files: the areas written and read as labels (ファイル menu), and
    // the export that names the pieces after the labels read (処理 menu).
    QAction *LabelExportAction = nullptr;
    QAction *LabelImportAction = nullptr;
    QAction *NamedExportAction = nullptr;
    void LabelExportClick();
    void LabelImportClick();
    void NamedExportClick();
    // The label file to write (Save) or read; nothing when cancelled.
    std::function<std::optional<QString>(bool Save)> RunLabelDialog;
    // Writes the areas as labels, the dialog suggesting NAME.txt beside
    // the recording; true when written.
    bool SaveAreasAsLabels();
    // The names N6Click gives the pieces: empty for WAVE00, ..., unless
    // NamedExportClick runs it.
    std::vector<std::string> FPieceNames;
    QLabel *Label6 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label11 = nullptr;
    QLabel *Labela = nullptr;
    QLabel *Label7 = nullptr;
    QLabel *Label8 = nullptr;

    // --- Menus ---
    QMenu *File1 = nullptr;
    QAction *WAV1 = nullptr;
    QMenu *N2 = nullptr;
    QAction *N3 = nullptr;
    QMenu *N4 = nullptr;
    QAction *N5 = nullptr;
    QAction *N6 = nullptr;
    QMenu *PM = nullptr;
    QAction *Playthistrimarea1 = nullptr;
    QAction *ChooseFolder1 = nullptr; // under File1
    QAction *Defaults1 = nullptr;     // under N2
    QMenu *View1 = nullptr;
    QAction *ToolWindow1 = nullptr;   // under View1; the tool window answers it

    // --- State ---
    std::vector<TTrimArea> &FAreas = Document.Areas;
    std::int32_t &FAreaCount = Document.AreaCount;
    std::int32_t FMoveDX = 0;
    std::int32_t FMoveDY = 0;
    std::int32_t FDownX = 0;
    std::int32_t FDownY = 0;
    std::int64_t FClickPos = 0;
    bool FMoving = false;
    // The export folder the user chose; empty for the default one.
    QString FExportFolder;

    // --- The user's work on the areas (app/UnsavedAreas.cpp) ---
    // Asks before the areas would go (AskSaveAreas); true to go ahead.
    bool ConfirmLeavingAreas();

protected:
    void closeEvent(QCloseEvent *Event) override;

private:
    void CreateSessionMenus();
    void BindControls();
    void ApplyFonts();
    void FitCaptions();
    void CreateComponents();
    void CreateSuggestCommands();
    void CreateLabelCommands();
    void InstallAreaKeeping();
    // After a recording has opened: offers the areas kept for it.
    void OfferAreasKept(const std::string &FileName);
    void CreatePopupAndDialog();
    void InstallModalDefaults();
    void WireEvents();
    // Runs a handler for the event loop: an error it raises ends that
    // handler only and is shown by ShowError.
    void Guarded(const std::function<void()> &Handler);
    void PaintView(TViewCanvas &Canvas);
    void ReportPaintError(const QString &Text);
    void CreateViewTools();
    void CreateAreaTools();
    void ListAreaChanges();
    // The edge of an area within reach of column X, if any.
    struct TEdgeHit {
        int Index;
        bool Start;
    };
    std::optional<TEdgeHit> EdgeAt(int X) const;

    std::optional<TEdgeHit> FDragged;
    // Where the edge was taken hold of: it moves only once the mouse has.
    int FDragFromX = 0;
    bool FDragMoved = false;
    std::int64_t FAddAnchor = 0;
    std::uint64_t FListedVersion = ~std::uint64_t(0);

    std::shared_ptr<const TPeakLevels> FPeaks;

    Ui::TForm1 *ui = nullptr;
    // A paint that fails tells the user once per loaded recording, so that
    // the report's own repaint cannot start a loop of reports.
    bool FPaintErrorReported = false;
};

#include "app/Unit1.h"

#include "app/HelpGuide.h"
#include "app/LevelReading.h"
#include "app/PaintBox.h"
#include "app/RecordingLoad.h"
#include "app/ScreenFit.h"
#include "app/Session.h"
#include "app/SettingHelp.h"
#include "engine/MappedRecording.h"
#include "platform/audio/SystemAudioOutput.h"
#include "ui_Unit1.h"

#include <QFileDialog>
#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include <algorithm>

namespace {

// Sizes of the designed client area, below the menu bar.
constexpr int DesignedClientWidth = 700;
constexpr int DesignedClientHeight = 442;

QFont PixelFont(const QString &Family, int PixelSize, bool Bold = false)
{
    QFont Font(Family);
    Font.setPixelSize(PixelSize);
    Font.setBold(Bold);
    return Font;
}

} // namespace

TForm1::TForm1(QWidget *parent) : QMainWindow(parent), ui(new Ui::TForm1)
{
    // The designed font does not exist here; IPAPGothic has its metrics.
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
    ui->setupUi(this);
    BindControls();
    ApplyFonts();
    CreateComponents();
    CreatePopupAndDialog();
    InstallModalDefaults();
    InstallAreaKeeping();
    // Handlers are connected only now, so the designed values set above are
    // the start values and no handler ran for them.
    WireEvents();
    Settings = new TSettingsPanel(
        *ControlPanel, this, [this](const QString &Text) { ShowMessage(Text); }, [this] { PB->repaint(); });
    CreateSuggestCommands();
    CreateSessionMenus();
    CreateLabelCommands();
    resize(DesignedClientWidth, DesignedClientHeight + menuBar()->sizeHint().height());
    FitToScreen(*this);
    CreateViewTools();
    DescribeSettings(*this);
    CreateHelpMenu(*this);
    FormCreate();
}

TForm1::~TForm1()
{
    delete ui;
}

void TForm1::BindControls()
{
    Panel2 = ui->Panel2;
    Panel3 = ui->Panel3;
    SB = ui->SB;
    Panel6 = ui->Panel6;
    SBV = ui->SBV;
    PB = ui->PB;

    ControlPanel = ui->ControlPanel;
    Panel4 = ui->Panel4;
    Label9 = ui->Label9;
    Label10 = ui->Label10;
    SBVZ = ui->SBVZ;
    SBHZ = ui->SBHZ;
    Edit7 = ui->Edit7;
    Edit8 = ui->Edit8;
    Button1 = ui->Button1;
    Button2 = ui->Button2;
    Bevel3 = ui->Bevel3;
    ScrollBox1 = ui->ScrollBox1;
    SBCSL = ui->SBCSL;
    SBN = ui->SBN;
    SBNW = ui->SBNW;
    SBML = ui->SBML;
    SBMZSS = ui->SBMZSS;
    SBMZSE = ui->SBMZSE;
    SBAFIL = ui->SBAFIL;
    SBAFOL = ui->SBAFOL;
    Edit1 = ui->Edit1;
    Edit2 = ui->Edit2;
    Edit3 = ui->Edit3;
    Edit4 = ui->Edit4;
    Edit5 = ui->Edit5;
    Edit6 = ui->Edit6;
    Edit9 = ui->Edit9;
    Edit10 = ui->Edit10;
    Label6 = ui->Label6;
    Label3 = ui->Label3;
    Label4 = ui->Label4;
    Label5 = ui->Label5;
    Label11 = ui->Label11;
    Labela = ui->Labela;
    Label7 = ui->Label7;
    Label8 = ui->Label8;

    File1 = ui->File1;
    WAV1 = ui->WAV1;
    N2 = ui->N2;
    N3 = ui->N3;
    N4 = ui->N4;
    N5 = ui->N5;
    N6 = ui->N6;
}

// Pixel-sized fonts cannot be given in the form description, which knows
// only point sizes; the designed sizes are in pixels.
void TForm1::ApplyFonts()
{
    const QString FormFamily = QStringLiteral("ＭＳ Ｐゴシック");
    setFont(PixelFont(FormFamily, 12));
    ControlPanel->setFont(PixelFont(FormFamily, 12));
    Button2->setFont(PixelFont(QStringLiteral("Arial"), 16, true));
    Button1->setFont(PixelFont(QStringLiteral("Arial"), 19, true));

    PB->setFont(PixelFont(FormFamily, 12));
    QPalette ViewPalette = PB->palette();
    ViewPalette.setColor(QPalette::WindowText, QColor(0, 255, 0));
    PB->setPalette(ViewPalette);
    FitCaptions();
}

// The stand-in font sets Latin text wider than the designed one, so a
// caption such as "Horizontal Zoom" would overrun its designed box and lose
// its first letters. Such a caption is narrowed just enough to fit.
void TForm1::FitCaptions()
{
    for (QLabel *Label : ControlPanel->findChildren<QLabel *>()) {
        const int Needed = QFontMetrics(Label->font()).horizontalAdvance(Label->text());
        if (Needed <= Label->width())
            continue;
        QFont Narrow = Label->font();
        Narrow.setStretch(std::max(50, Label->width() * 100 / Needed));
        Label->setFont(Narrow);
    }
}

void TForm1::CreateComponents()
{
    // The form's waves play through the system's audio output.
    InstallSystemAudioOutput();
    // Settings in the order the component stores them; ZU, the
    // document's, has them already.
    ZU2->SetFreq(44100);
    ZU2->SetBits(16);
    ZU2->SetChannels(1);
    for (TZuWave *Wave : {ZU, ZU2})
        Wave->SetOnNotify([this](QObject *Sender) { ZUNotify(Sender); });

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);
}

void TForm1::CreatePopupAndDialog()
{
    // Not attached to the view: only PBMouseDown shows it.
    PM = new QMenu(this);
    PM->setObjectName(QStringLiteral("PM"));
    Playthistrimarea1 = PM->addAction(tr("Play this trim area"));
    Playthistrimarea1->setObjectName(QStringLiteral("Playthistrimarea1"));

    OD = new QFileDialog(this);
    OD->setObjectName(QStringLiteral("OD"));
    OD->setAcceptMode(QFileDialog::AcceptOpen);
    OD->setFileMode(QFileDialog::ExistingFile);
    OD->setDefaultSuffix(QStringLiteral("wav"));
    // The designed filter first; then the other recordings the window reads.
    OD->setNameFilters({tr("WAVEファイル (*.wav)"),
                        QStringLiteral("FLAC, RF64, Wave64 (*.flac *.rf64 *.bw64 *.w64)")});
}

void TForm1::FormCreate()
{
    FAreaCount = 0;
    FMoving = false;
}

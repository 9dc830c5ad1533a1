// The main window as built from its form: sizes, controls in place, menus,
// dialog, components, and the wiring of menus and buttons to their commands.
#include "WindowTestSupport.h"

#include "app/EngineMessages.h"
#include "app/Language.h"
#include "app/PaintBox.h"
#include "app/Unit2.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTimer>
#include <QtTest/QTest>

using namespace apptest;

namespace {

class WindowTest : public FormTest {};

// A rectangle in the coordinates of the widget's parent, as x, y, w, h.
std::vector<int> Box(const QWidget *Widget)
{
    const QRect R = Widget->geometry();
    return {R.x(), R.y(), R.width(), R.height()};
}

} // namespace

TEST_F(WindowTest, ClientAreaAndViewHaveTheDesignedSizes)
{
    EXPECT_EQ(Form->windowTitle(), QStringLiteral("Redivev"));
    EXPECT_EQ(Form->centralWidget(), Form->Panel2);
    EXPECT_EQ(Form->Panel2->size(), QSize(700, 442));
    EXPECT_EQ(Form->PB->geometry(), QRect(0, 0, 684, 426));
    EXPECT_EQ(Form->SBV->geometry(), QRect(684, 0, 16, 426));
    EXPECT_EQ(Form->Panel3->geometry(), QRect(0, 426, 700, 16));
    EXPECT_EQ(Form->SB->geometry(), QRect(0, 0, 684, 16));
    EXPECT_EQ(Form->Panel6->geometry(), QRect(684, 0, 16, 16));
    EXPECT_EQ(Form->SB->orientation(), Qt::Horizontal);
    EXPECT_EQ(Form->SBV->orientation(), Qt::Vertical);
    // Behind the view: black.
    EXPECT_EQ(Form->Panel2->palette().color(Form->Panel2->backgroundRole()), QColor(Qt::black));
    EXPECT_TRUE(Form->Panel2->autoFillBackground());
    EXPECT_FALSE(Form->ControlPanel->isVisible());
}

TEST_F(WindowTest, ParameterPanelRowsStandAtTheirCoordinates)
{
    // The designed 393 pixels and a column for the settings' equivalents.
    EXPECT_EQ(Form->ControlPanel->size(), QSize(449, 121));
    EXPECT_EQ(Box(Form->SBVZ), (std::vector<int>{88, 4, 121, 16}));
    EXPECT_EQ(Box(Form->SBHZ), (std::vector<int>{88, 24, 121, 16}));
    EXPECT_EQ(Box(Form->Edit7), (std::vector<int>{212, 2, 53, 20}));
    EXPECT_EQ(Box(Form->Edit8), (std::vector<int>{212, 22, 53, 20}));
    EXPECT_EQ(Box(Form->Button2), (std::vector<int>{268, 4, 57, 37}));
    EXPECT_EQ(Box(Form->Button1), (std::vector<int>{328, 4, 57, 37}));
    EXPECT_EQ(Form->Label9->geometry().right() + 1, 85);
    EXPECT_EQ(Form->Label10->geometry().right() + 1, 85);
    EXPECT_EQ(Form->Label9->y(), 8);
    EXPECT_EQ(Form->Label10->y(), 24);
    EXPECT_EQ(Form->Label9->text(), QStringLiteral("Vertical Zoom"));
    EXPECT_EQ(Form->Label10->text(), QStringLiteral("Horizontal Zoom"));

    const struct {
        QScrollBar *Bar;
        QLabel *Label;
        QLineEdit *Edit;
        int Top;
        const char *Caption;
    } Rows[] = {
        {Form->SBCSL, Form->Label6, Form->Edit4, 5, "Cut start level"},
        {Form->SBN, Form->Label3, Form->Edit1, 25, "No sound level"},
        {Form->SBNW, Form->Label4, Form->Edit2, 45, "width of no sound level"},
        {Form->SBML, Form->Label5, Form->Edit3, 65, "Minimum size"},
        {Form->SBMZSS, Form->Label11, Form->Edit9, 89, "Backword Level"},
        {Form->SBMZSE, Form->Labela, Form->Edit10, 109, "Forword Level"},
        {Form->SBAFIL, Form->Label7, Form->Edit5, 133, "Auto fadein length"},
        {Form->SBAFOL, Form->Label8, Form->Edit6, 153, "Auto fadeout length"},
    };
    for (const auto &Row : Rows) {
        SCOPED_TRACE(Row.Caption);
        EXPECT_EQ(Row.Bar->parentWidget(), Form->ScrollBox1->widget());
        EXPECT_EQ(Box(Row.Bar), (std::vector<int>{140, Row.Top, 169, 16}));
        EXPECT_EQ(Box(Row.Edit), (std::vector<int>{312, Row.Top - 3, 53, 20}));
        EXPECT_EQ(Row.Label->geometry().right() + 1, 133);
        EXPECT_EQ(Row.Label->y(), Row.Top + 3);
        EXPECT_EQ(Row.Label->height(), 12);
        EXPECT_TRUE(Row.Label->alignment() & Qt::AlignRight);
        EXPECT_EQ(Row.Label->text().toStdString(), Row.Caption);
    }
    // The designed rows and four more: the pad, the level window, the
    // longest piece, and what Auto cuts for with Join short beside it.
    EXPECT_EQ(Form->ScrollBox1->widget()->minimumHeight(), 250);
    EXPECT_EQ(Box(Form->Settings->TargetBox), (std::vector<int>{140, 233, 82, 16}));
    EXPECT_EQ(Box(Form->Settings->BandBox), (std::vector<int>{224, 233, 85, 16}));
    EXPECT_EQ(Form->Settings->JoinShortBox->pos(), QPoint(312, 230));
    EXPECT_EQ(Form->ScrollBox1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

TEST_F(WindowTest, DesignedFontIsSubstituted)
{
    const QFont View = Form->PB->font();
    EXPECT_EQ(View.pixelSize(), 12);
    EXPECT_EQ(QFontInfo(View).family(), QStringLiteral("IPAPGothic"));
    EXPECT_EQ(QFontInfo(Form->Label9->font()).family(), QStringLiteral("IPAPGothic"));
    EXPECT_EQ(QFontInfo(Form->Button1->font()).pixelSize(), 19);
}

TEST_F(WindowTest, EveryPanelCaptionFitsItsDesignedBox)
{
    // The stand-in font is wider than the designed one; nothing may be cut off.
    int Narrowed = 0;
    for (QLabel *Label : Form->ControlPanel->findChildren<QLabel *>()) {
        const int Needed = QFontMetrics(Label->font()).horizontalAdvance(Label->text());
        EXPECT_LE(Needed, Label->width()) << Label->objectName().toStdString();
        Narrowed += Label->font().stretch() != QFont::AnyStretch && Label->font().stretch() != 100;
    }
    EXPECT_GE(Narrowed, 1) << "\"Horizontal Zoom\" is wider than its box in this font";
    EXPECT_EQ(Form->Label9->font().stretch(), Form->ControlPanel->font().stretch()) << "captions that fit keep the font";
}

TEST_F(WindowTest, MenusCarryTheirJapaneseCaptions)
{
    const QList<QAction *> Bar = Form->menuBar()->actions();
    // The designed menus first; the view's own follow them.
    ASSERT_GE(Bar.size(), 3);
    EXPECT_EQ(Bar[0]->menu(), Form->File1);
    EXPECT_EQ(Bar[1]->menu(), Form->N2);
    EXPECT_EQ(Bar[2]->menu(), Form->N4);
    EXPECT_EQ(Bar[3]->menu(), Form->View1);
    EXPECT_EQ(Form->File1->title(), QStringLiteral("ファイル"));
    EXPECT_EQ(Form->N2->title(), QStringLiteral("調整"));
    EXPECT_EQ(Form->N4->title(), QStringLiteral("処理"));
    EXPECT_EQ(Form->View1->title(), QStringLiteral("表示"));
    // The designed commands first; then the folder choice, and after a
    // separator the label files'.
    EXPECT_EQ(Form->File1->actions().mid(0, 2), (QList<QAction *>{Form->WAV1, Form->ChooseFolder1}));
    EXPECT_EQ(Form->File1->actions().mid(3), (QList<QAction *>{Form->LabelExportAction, Form->LabelImportAction}));
    EXPECT_EQ(Form->N2->actions(), (QList<QAction *>{Form->N3, Form->Defaults1}));
    EXPECT_EQ(Form->View1->actions().mid(0, 1), QList<QAction *>{Form->ToolWindow1});
    EXPECT_EQ(Form->ChooseFolder1->text(), QStringLiteral("出力先フォルダの選択..."));
    EXPECT_EQ(Form->Defaults1->text(), QStringLiteral("設定を初期値に戻す"));
    EXPECT_EQ(Form->ToolWindow1->text(), QStringLiteral("ツールウィンドウ"));
    EXPECT_EQ(Form->LabelExportAction->text(), QStringLiteral("ラベルを書き出す"));
    EXPECT_EQ(Form->LabelImportAction->text(), QStringLiteral("ラベルを読み込む"));
    // The designed commands and the export named after labels; after a
    // separator, the suggestion's.
    EXPECT_EQ(Form->N4->actions().mid(0, 3), (QList<QAction *>{Form->N5, Form->N6, Form->NamedExportAction}));
    EXPECT_EQ(Form->N4->actions().mid(4), (QList<QAction *>{Form->SuggestAction, Form->UndoSuggestAction}));
    EXPECT_EQ(Form->NamedExportAction->text(), QStringLiteral("切り出した範囲をラベル名で保存"));
    EXPECT_EQ(Form->WAV1->text(), QStringLiteral("WAVの読込"));
    EXPECT_EQ(Form->N3->text(), QStringLiteral("音量を割れない範囲で最大にする"));
    EXPECT_EQ(Form->N5->text(), QStringLiteral("自動切り出し"));
    EXPECT_EQ(Form->N6->text(), QStringLiteral("切り出した範囲をまとめて保存"));
    EXPECT_EQ(Form->PM->actions(), QList<QAction *>{Form->Playthistrimarea1});
    EXPECT_EQ(Form->Playthistrimarea1->text(), QStringLiteral("Play this trim area"));
}

TEST_F(WindowTest, ComponentsCarryTheirSettings)
{
    for (TZuWave *Wave : {Form->ZU, Form->ZU2}) {
        EXPECT_EQ(Wave->parent(), Form.get());
        EXPECT_EQ(Wave->GetFreq(), 44100);
        EXPECT_EQ(Wave->GetBits(), 16);
        EXPECT_EQ(Wave->GetChannels(), 1);
        EXPECT_EQ(Wave->GetWaveSize(), 1);
        EXPECT_TRUE(static_cast<bool>(Wave->GetOnNotify()));
    }
    EXPECT_NE(Form->ZU, Form->ZU2);
    EXPECT_EQ(Form->Timer1->interval(), 100);
    EXPECT_TRUE(Form->Timer1->isActive());
    EXPECT_EQ(Form->OD->defaultSuffix(), QStringLiteral("wav"));
    EXPECT_EQ(Form->OD->nameFilters(), (QStringList{QStringLiteral("WAVEファイル (*.wav)"),
                                                    QStringLiteral("FLAC, RF64, Wave64 (*.flac *.rf64 *.bw64 *.w64)")}));
    EXPECT_EQ(Form->OD->fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(Form->FAreaCount, 0);
    EXPECT_FALSE(Form->FMoving);
}

TEST_F(WindowTest, MenuItemsAndTrimButtonRunTheirCommands)
{
    Form->WAV1->trigger();
    EXPECT_EQ(DialogRuns, 1);

    // A recording of two bursts between silences, cut by the defaults.
    std::vector<std::int16_t> Frames(3000, 0);
    for (int I = 500; I < 800; ++I)
        Frames[static_cast<std::size_t>(I)] = 8000;
    for (int I = 1800; I < 2100; ++I)
        Frames[static_cast<std::size_t>(I)] = -8000;
    Open(WriteFile("bursts.wav", Mono16(Frames)));
    Form->N5->trigger();
    Form->Button1->click();
    EXPECT_EQ(Messages, (QStringList{QStringLiteral("2個に分割されました"), QStringLiteral("2個に分割されました")}));

    // Normalisation brings the peak of 8000 to full scale.
    Form->N3->trigger();
    EXPECT_EQ(Form->ZU->GetPosValue16(0, 600), 32767);

    QStringList Questions;
    Form->ProgramDirectory = [this] { return Dir.path(); };
    Form->AskYesNo = [&Questions](const QString &, const QString &Text) {
        Questions << Text;
        return false;
    };
    Form->N6->trigger();
    EXPECT_EQ(Questions.size(), 1);
}

TEST_F(WindowTest, ErrorOfAMenuCommandIsShownAndTheProgramGoesOn)
{
    const QString Path = WriteFile("text.wav", wavtest::Bytes{'n', 'o', 't', ' ', 'a', ' ', 'w', 'a', 'v'});
    Form->RunOpenDialog = [Path]() -> std::optional<QString> { return Path; };
    Form->WAV1->trigger();
    EXPECT_EQ(Errors, QStringList{QStringLiteral("TZuInternalWave.LoadFromFile:Not a waveform-audio file.\n") + Path});
}

// The designed texts are the source: a Japanese and the C locale keep them
// all, any other locale gets the English catalogue, Qt's own dialogs the
// locale's, and the engine's messages go through the same catalogue.
TEST_F(WindowTest, SpeaksEnglishUnlessTheLocaleIsJapaneseOrC)
{
    const struct {
        const char *Locale;
        bool English;
        const char *Cancel; // Qt's own button, translated by Qt's catalogue
    } Cases[] = {{"ja_JP", false, "キャンセル"}, {"C", false, "Cancel"}, {"de_DE", true, "Abbrechen"},
                 {"en_GB", true, "Cancel"}};
    for (const auto &Case : Cases) {
        SCOPED_TRACE(Case.Locale);
        const QLocale Locale(QString::fromLatin1(Case.Locale));
        TLanguage Language(Locale);
        EXPECT_EQ(Language.English(), Case.English);
        EXPECT_EQ(KeepsDesignedTexts(Locale), !Case.English);
        TForm1 Window;
        TForm2 Tool(Window);
        QStringList Shown;
        Window.ShowMessage = [&Shown](const QString &Text) { Shown << Text; };
        Window.ShowError = [&Shown](const QString &Text) { Shown << Text; };
        const auto Tr = [&Case](const char *Designed, const char *English) {
            return QString::fromUtf8(Case.English ? English : Designed);
        };
        EXPECT_EQ(Window.File1->title(), Tr("ファイル", "&File"));
        EXPECT_EQ(Window.WAV1->text(), Tr("WAVの読込", "Open WAV..."));
        EXPECT_EQ(Window.N5->text(), Tr("自動切り出し", "Auto trim"));
        EXPECT_EQ(Window.WholeRecordingAction->text(), Tr("全体を表示", "Whole recording"));
        EXPECT_EQ(Window.Playthistrimarea1->text(), QStringLiteral("Play this trim area"));
        EXPECT_EQ(Tool.windowTitle(), QStringLiteral("Tool Window"));
        EXPECT_EQ(Window.Label6->text(), QStringLiteral("Cut start level"));
        // The designed English spelling mended in English only.
        EXPECT_EQ(Window.Label4->text(), Tr("width of no sound level", "No sound width"));
        EXPECT_EQ(Window.Label11->text(), Tr("Backword Level", "Backward search"));
        EXPECT_EQ(Window.Label7->text(), Tr("Auto fadein length", "Auto fade-in length"));
        for (QLabel *Label : Window.ControlPanel->findChildren<QLabel *>())
            EXPECT_LE(QFontMetrics(Label->font()).horizontalAdvance(Label->text()), Label->width())
                << Label->objectName().toStdString();
        // The designed hint stays on its bar; the row's caption and edit
        // say what the setting does, its unit and its command-line name.
        EXPECT_EQ(Window.SBCSL->toolTip(), Tr("最短データ長", Window.Label6->toolTip().toUtf8().constData()));
        EXPECT_TRUE(Window.Label6->toolTip().startsWith(Tr("区間の外で", "Outside a piece")))
            << Window.Label6->toolTip().toStdString();
        for (QWidget *Row : std::initializer_list<QWidget *>{Window.Label6, Window.Edit4, Window.Settings->SBPAD, Window.Settings->Edit13,
                                                             Window.Settings->TargetBox, Window.Settings->JoinShortBox, Window.Label8,
                                                             Window.Label9, Window.Edit7, Window.Edit8})
            EXPECT_FALSE(Row->toolTip().isEmpty()) << Row->objectName().toStdString();
        // The buttons beside the zoom rows are not rows of settings, and a
        // designed bar without a hint stays without one.
        EXPECT_EQ(Window.Button2->toolTip(), QString());
        EXPECT_EQ(Window.SBVZ->toolTip(), QString());
        EXPECT_TRUE(
            Window.Edit4->toolTip().endsWith(Tr("コマンドライン: --cut-start-level", "Command line: --cut-start-level")));
        EXPECT_TRUE(Window.Settings->Edit13->toolTip().endsWith(QStringLiteral("--max-size")));
        EXPECT_TRUE(Window.Edit5->toolTip().contains(Tr("ビューに描くだけ", "Only drawn in the view")));
        EXPECT_TRUE(Window.Settings->JoinShortBox->toolTip().endsWith(QStringLiteral("--join-short")));

        // An engine message, and the window's own after a real click.
        EXPECT_EQ(EngineMessage("ファイル /tmp/a b.wav は開けません"),
                  Tr("ファイル /tmp/a b.wav は開けません", "Cannot open the file /tmp/a b.wav"));
        const QString Text = WriteFile("text.wav", wavtest::Bytes{'n', 'o', 't', ' ', 'a', ' ', 'w', 'a', 'v'});
        Window.RunOpenDialog = [Text]() -> std::optional<QString> { return Text; };
        Window.WAV1->trigger();
        std::vector<std::int16_t> Frames(3000, 0);
        for (int I = 500; I < 800; ++I)
            Frames[static_cast<std::size_t>(I)] = 8000;
        const QString Burst = WriteFile("burst.wav", Mono16(Frames));
        Window.RunOpenDialog = [Burst]() -> std::optional<QString> { return Burst; };
        Window.WAV1->trigger();
        QTest::mouseClick(Window.Button1, Qt::LeftButton);
        EXPECT_EQ(Shown, (QStringList{Tr("TZuInternalWave.LoadFromFile:Not a waveform-audio file.",
                                         "Not a waveform-audio (WAV) file.")
                                          + QLatin1Char('\n') + Text,
                                      Tr("1個に分割されました", "Cut into 1 piece")}));

        QDialogButtonBox Buttons(QDialogButtonBox::Cancel);
        EXPECT_EQ(Buttons.button(QDialogButtonBox::Cancel)->text(), QString::fromUtf8(Case.Cancel));
    }
    // Gone with the object: a window made now has the designed texts.
    TForm1 After;
    EXPECT_EQ(After.File1->title(), QStringLiteral("ファイル"));
}

// F1 opens the guide to what the panel's less obvious parts do.
TEST_F(WindowTest, HelpOpensAGuideToAutoTrimTheMarksAndTheFades)
{
    Form->activateWindow();
    QTest::keyClick(Form.get(), Qt::Key_F1);
    auto *Guide = Form->findChild<QDialog *>(QStringLiteral("HelpGuide"));
    ASSERT_NE(Guide, nullptr);
    EXPECT_TRUE(Guide->isVisible());
    const QString Page = Guide->findChild<QTextBrowser *>()->toPlainText();
    for (const char *Topic :
         {"Auto", "Trim!", "Cut Start", "Zero Search", "Auto fadein length", "フェードは掛かりません"})
        EXPECT_TRUE(Page.contains(QString::fromUtf8(Topic))) << Topic;
    QTest::mouseClick(Guide->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Close), Qt::LeftButton);
    EXPECT_FALSE(Guide->isVisible());
}

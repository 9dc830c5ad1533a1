// The twelve scroll bars: ranges and defaults of the form, the mirrors, the
// no-sound level dragging the cut start level, and repaints at once.
#include "WindowTestSupport.h"

#include "app/Detection.h"
#include "app/PaintBox.h"
#include "app/SettingsPanel.h"
#include "ui_Unit1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QScrollBar>

#include <utility>

using namespace apptest;

namespace {

struct TBarDesign {
    const char *Name;
    int Min;
    int Max;
    int Default;
    int LargeChange;
    const char *Mirror; // nullptr for the view's own bars
    const char *Hint;   // nullptr where there is none
};

const TBarDesign Designs[] = {
    {"SBCSL", 100, 30000, 100, 10, "Edit4", "最短データ長"},
    {"SBN", 256, 30000, 1000, 10, "Edit1", "無音領域"},
    {"SBNW", 10, 5000, 100, 10, "Edit2", "無音判断時間"},
    {"SBML", 100, 5000, 100, 10, "Edit3", "最短データ長"},
    {"SBMZSS", 0, 5000, 0, 10, "Edit9", "最短データ長"},
    {"SBMZSE", 0, 5000, 0, 10, "Edit10", "最短データ長"},
    {"SBAFIL", 0, 1000, 0, 10, "Edit5", "最短データ長"},
    {"SBAFOL", 0, 1000, 0, 10, "Edit6", "最短データ長"},
    {"SBVZ", 1000, 5000, 1000, 10, "Edit7", nullptr},
    {"SBHZ", 1, 2000, 1, 10, "Edit8", nullptr},
    {"SB", 0, 100, 0, 1, nullptr, nullptr},
    {"SBV", -500, 500, 0, 1, nullptr, nullptr},
};

class SettingsTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        // Every paint of the view notes what the two level mirrors showed.
        auto Paint = Form->PB->OnPaint;
        Form->PB->OnPaint = [this, Paint] {
            MirrorsAtPaints.emplace_back(Form->Edit4->text().toStdString(), Form->Edit1->text().toStdString());
            Paint();
        };
    }

    QScrollBar *Bar(const char *Name) { return Form->findChild<QScrollBar *>(QString::fromLatin1(Name)); }
    QLineEdit *Edit(const char *Name) { return Form->findChild<QLineEdit *>(QString::fromLatin1(Name)); }

    std::vector<std::pair<std::string, std::string>> MirrorsAtPaints;
};

using TPaints = std::vector<std::pair<std::string, std::string>>;

} // namespace

TEST_F(SettingsTest, BarsStartAtTheirDesignedRangesAndDefaults)
{
    for (const TBarDesign &Design : Designs) {
        SCOPED_TRACE(Design.Name);
        QScrollBar *ScrollBar = Bar(Design.Name);
        ASSERT_NE(ScrollBar, nullptr);
        EXPECT_EQ(ScrollBar->minimum(), Design.Min);
        EXPECT_EQ(ScrollBar->maximum(), Design.Max);
        EXPECT_EQ(ScrollBar->value(), Design.Default);
        EXPECT_EQ(ScrollBar->pageStep(), Design.LargeChange);
        EXPECT_EQ(ScrollBar->singleStep(), 1);
        EXPECT_EQ(ScrollBar->toolTip().toStdString(), Design.Hint ? Design.Hint : "");
        if (Design.Mirror != nullptr) {
            EXPECT_EQ(Edit(Design.Mirror)->text().toStdString(), std::to_string(Design.Default));
        }
    }
    // The designed values are the table of settings' defaults, which the
    // command line, its help and the Python module take theirs from; the
    // rows the window adds start there too.
    const TTrimSettings Read = ReadTrimSettings(*Form);
    for (const TSettingSpec &Setting : SettingTable) {
        if (std::int32_t TTrimSettings::*Field = TrimField(Setting.Id)) {
            EXPECT_EQ(Read.*Field, Setting.Default) << Setting.Option;
        }
    }
    const TSettingSpec &Target = SettingSpec(TSettingId::Target);
    EXPECT_EQ(Form->Settings->TargetBox->currentText().toStdString(), SettingChoice(Target, Target.Default));
    for (const TSettingId Id : {TSettingId::Target, TSettingId::Band}) {
        const QComboBox *Box = Id == TSettingId::Target ? Form->Settings->TargetBox : Form->Settings->BandBox;
        EXPECT_EQ(Box->count(), SettingSpec(Id).Maximum + 1);
        for (int I = 0; I < Box->count(); ++I)
            EXPECT_EQ(Box->itemText(I).toStdString(), SettingChoice(SettingSpec(Id), I));
    }
}

TEST_F(SettingsTest, EveryParameterBarWritesItsMirrorAndRepaints)
{
    for (const TBarDesign &Design : Designs) {
        if (Design.Mirror == nullptr || std::string(Design.Name) == "SBN")
            continue;
        SCOPED_TRACE(Design.Name);
        MirrorsAtPaints.clear();
        Bar(Design.Name)->setValue(Design.Min + 7);
        EXPECT_EQ(Edit(Design.Mirror)->text().toStdString(), std::to_string(Design.Min + 7));
        EXPECT_EQ(MirrorsAtPaints.size(), 1u);
    }
}

TEST_F(SettingsTest, RaisingTheNoSoundLevelDragsTheCutStartLevelFirst)
{
    Form->SBN->setValue(2000);
    EXPECT_EQ(Form->SBCSL->minimum(), 2000);
    EXPECT_EQ(Form->SBCSL->value(), 2000);
    // SBCSL's nested change paints first, before SBN's mirror is written.
    EXPECT_EQ(MirrorsAtPaints, (TPaints{{"2000", "1000"}, {"2000", "2000"}}));

    MirrorsAtPaints.clear();
    Form->SBN->setValue(500);
    EXPECT_EQ(Form->SBCSL->minimum(), 500);
    EXPECT_EQ(Form->SBCSL->value(), 2000);
    EXPECT_EQ(MirrorsAtPaints, (TPaints{{"2000", "500"}}));
}

TEST_F(SettingsTest, LoweringTheNoSoundLevelFirstLeavesTheCutStartLevel)
{
    Form->SBN->setValue(300);
    EXPECT_EQ(Form->SBCSL->minimum(), 300);
    EXPECT_EQ(Form->SBCSL->value(), 300);
    EXPECT_EQ(Form->Edit4->text(), QStringLiteral("300"));

    Form->SBCSL->setValue(800);
    Form->SBN->setValue(256);
    EXPECT_EQ(Form->SBCSL->minimum(), 256);
    EXPECT_EQ(Form->SBCSL->value(), 800);
}

TEST_F(SettingsTest, NoSoundLevelAtItsTopPinsTheCutStartLevel)
{
    Form->SBN->setValue(30000);
    EXPECT_EQ(Form->SBCSL->minimum(), 30000);
    EXPECT_EQ(Form->SBCSL->maximum(), 30000);
    EXPECT_EQ(Form->SBCSL->value(), 30000);
    EXPECT_EQ(Form->Edit4->text(), QStringLiteral("30000"));
}

TEST_F(SettingsTest, TypingIntoAMirrorChangesNothing)
{
    Form->Edit1->setText(QStringLiteral("500"));
    EXPECT_EQ(Form->SBN->value(), 1000);
    EXPECT_TRUE(MirrorsAtPaints.empty());
    // The bar's next change replaces the text.
    Form->SBN->setValue(1010);
    EXPECT_EQ(Form->Edit1->text(), QStringLiteral("1010"));
}

TEST_F(SettingsTest, ViewBarsRepaintAndWriteNoMirror)
{
    Form->SB->setValue(40);
    Form->SBV->setValue(-20);
    EXPECT_EQ(MirrorsAtPaints.size(), 2u);
    for (const TBarDesign &Design : Designs) {
        if (Design.Mirror != nullptr) {
            EXPECT_EQ(Edit(Design.Mirror)->text().toStdString(), std::to_string(Design.Default)) << Design.Mirror;
        }
    }
}

TEST_F(SettingsTest, TroughClicksStepByTheLargeChange)
{
    Form->SBML->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(Form->SBML->value(), 110);
    Form->SBML->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(Form->SBML->value(), 111);
    Form->SB->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(Form->SB->value(), 1);
    Form->SBV->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(Form->SBV->value(), -1);
    EXPECT_EQ(Form->Edit3->text(), QStringLiteral("111"));
}


// Typed values in every form the command line takes, at the 44100 Hz a
// fresh window assumes: within the bar they move it; beyond its maximum the
// bar stands there and the setting keeps the typed value; anything else is
// refused with a message and the edit shows the value it had.
TEST_F(SettingsTest, TypedValuesInEveryFormBeyondTheBarAndRefused)
{
    const struct {
        const char *Bar, *Edit, *Text;
        int BarAfter, Setting;
        const char *Equivalent; // nullptr: refused
    } Cases[] = {
        {"SBNW", "Edit2", "0.4s", 5000, 17640, "0.40 s"},
        {"SBNW", "Edit2", "400ms", 5000, 17640, "0.40 s"},
        {"SBNW", "Edit2", "2500", 2500, 2500, "56.7 ms"},
        {"SBML", "Edit3", "0.25s", 5000, 11025, "0.25 s"},
        {"SBN", "Edit1", "-40dB", 328, 328, "\u221240.0 dBFS"},
        {"SBN", "Edit1", "40000", 30000, 40000, "1.7 dBFS"},
        {"SBN", "Edit1", "-54dB", 256, 65, "\u221254.1 dBFS"},
        {"SBNW", "Edit2", "0.4x", 100, 100, nullptr},
        {"SBNW", "Edit2", "-3", 100, 100, nullptr},
        {"SBN", "Edit1", "0.4s", 1000, 1000, nullptr},
        {"SBMAX", "Edit13", "15s", 5000, 661500, "15.00 s"},
        {"SBNW", "Edit2", "60s", 5000, 2646000, "60.00 s"},
    };
    for (const auto &Case : Cases) {
        SCOPED_TRACE(std::string(Case.Bar) + " " + Case.Text);
        Form = std::make_unique<TForm1>();
        Form->ShowMessage = [this](const QString &Text) { Messages << Text; };
        Messages.clear();
        TypeInto(Edit(Case.Edit), QString::fromUtf8(Case.Text));
        EXPECT_EQ(Bar(Case.Bar)->value(), Case.BarAfter);
        EXPECT_EQ(Form->Settings->ValueOf(Bar(Case.Bar)), Case.Setting);
        EXPECT_EQ(Edit(Case.Edit)->text().toStdString(), std::to_string(Case.Setting));
        // Shown whole in the edit's designed width: its first and its last
        // character in sight once painted.
        QLineEdit *Shown = Edit(Case.Edit);
        Shown->grab();
        EXPECT_EQ(Shown->cursorPositionAt(QPoint(3, Shown->height() / 2)), 0);
        EXPECT_EQ(Shown->cursorPositionAt(QPoint(Shown->width() - 3, Shown->height() / 2)), Shown->text().size());
        EXPECT_EQ(Messages.size(), Case.Equivalent ? 0 : 1);
        if (Case.Equivalent != nullptr) {
            const QString Shown = Form->findChild<QLabel *>(QString::fromLatin1(Case.Edit) + "Equivalent")->text();
            EXPECT_EQ(Shown, QString::fromUtf8(Case.Equivalent));
        }
    }
    // A move of the bar itself leaves the typed value behind.
    TypeInto(Form->Edit2, QStringLiteral("0.4s"));
    Form->SBNW->setValue(300);
    EXPECT_EQ(Form->Settings->ValueOf(Form->SBNW), 300);
    EXPECT_EQ(Form->Edit2->text(), QStringLiteral("300"));
}

// The panel works on the form description's widgets alone: typed values
// beyond a bar, a suggestion and the step back from it, and the values the
// window remembers put back.
TEST(SettingsPanelTest, TypedSuggestedAndRememberedValuesWithoutTheWindow)
{
    QMainWindow Window;
    Ui::TForm1 Designed;
    Designed.setupUi(&Window);
    QStringList Refused;
    int Changes = 0;
    TSettingsPanel Panel(
        *Designed.ControlPanel, &Window, [&Refused](const QString &Text) { Refused << Text; }, [&Changes] { ++Changes; });
    const TSettingValues AsDesigned = Panel.Values();
    EXPECT_EQ(AsDesigned, Panel.Designed());
    EXPECT_EQ(Panel.TrimSettings().NoSoundWidth, Designed.SBNW->value());

    TypeInto(Designed.Edit2, QStringLiteral("2s"));
    EXPECT_EQ(Panel.ValueOf(Designed.SBNW), 88200);
    EXPECT_EQ(Panel.TrimSettings().NoSoundWidth, 88200);
    EXPECT_GE(Changes, 1);
    TypeInto(Panel.Edit13, QStringLiteral("often"));
    EXPECT_EQ(Refused.size(), 1);
    EXPECT_EQ(Panel.ValueOf(Panel.SBMAX), AsDesigned.value(QStringLiteral("SBMAX")));

    TTrimSettings Suggested;
    Suggested.NoSoundWidth = 1234;
    Suggested.JoinShort = 1;
    EXPECT_FALSE(Panel.CanUndoSuggestion());
    Panel.TakeSuggestion(Suggested);
    EXPECT_EQ(Panel.ValueOf(Designed.SBNW), 1234);
    EXPECT_TRUE(Panel.JoinShortBox->isChecked());
    ASSERT_TRUE(Panel.CanUndoSuggestion());
    Panel.UndoSuggestion();
    EXPECT_EQ(Panel.ValueOf(Designed.SBNW), 88200);
    EXPECT_FALSE(Panel.JoinShortBox->isChecked());

    Panel.Apply(Panel.Designed());
    EXPECT_EQ(Panel.Values(), AsDesigned);
}

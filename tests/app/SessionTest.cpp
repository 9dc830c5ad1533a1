// What the window remembers between runs: the settings, both windows'
// geometry and the chosen export folder, from one store; a fresh store
// gives the designed start-up; the designed settings come back on demand;
// the areas last seen on each recording, for the last recordings only.
#include "DetectionSupport.h"

#include "app/KeptAreas.h"
#include "app/ScreenFit.h"
#include "app/Session.h"
#include "app/StartUp.h"
#include "app/Unit2.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QScrollBar>

using namespace apptest;

namespace {

class SessionTest : public CommandTest {
protected:
    // A second run of the program: its forms built as main() builds them,
    // the store read, and the windows shown.
    struct TRun {
        std::unique_ptr<TForm1> Form1;
        std::unique_ptr<TForm2> Form2;
    };
    TRun StartAgain()
    {
        TRun Run;
        Run.Form1 = std::make_unique<TForm1>();
        Run.Form1->ProgramDirectory = [this] { return ProgramDir; };
        Run.Form2 = std::make_unique<TForm2>(*Run.Form1);
        ShowAtStart(*Run.Form1, *Run.Form2);
        QApplication::processEvents();
        return Run;
    }
};

} // namespace

TEST_F(SessionTest, AFreshStoreGivesTheDesignedStartUp)
{
    ASSERT_FALSE(QFile::exists(SessionFile()));
    TForm1 Designed;
    TForm2 DesignedTool(Designed);
    // As the start fits them to the screen, which the view's tools may
    // make the main window wider than.
    FitToScreen(Designed);
    const TRun Run = StartAgain();
    EXPECT_EQ(SettingValuesOf(*Run.Form1), Run.Form1->Settings->Designed());
    EXPECT_EQ(Run.Form1->Settings->Designed(), SettingValuesOf(Designed));
    EXPECT_EQ(Run.Form1->size(), Designed.size());
    EXPECT_EQ(Run.Form2->geometry(), DesignedTool.geometry());
    EXPECT_TRUE(Run.Form1->FExportFolder.isEmpty());
    EXPECT_FALSE(QFile::exists(SessionFile())) << "reading the store made one";
}

TEST_F(SessionTest, SettingsWindowsAndFolderComeBackInTheNextRun)
{
    const QString Chosen = Dir.filePath(QStringLiteral("pieces"));
    QString Offered;
    {
        TRun First = StartAgain();
        First.Form1->SBN->setValue(2345);
        First.Form1->SBCSL->setValue(2400);
        First.Form1->SBNW->setValue(4321);
        First.Form1->SBHZ->setValue(7);
        TypeInto(First.Form1->Edit3, QStringLiteral("0.5s")); // beyond the bar: 22050
        TypeInto(First.Form1->Settings->Edit11, QStringLiteral("30ms"));
        First.Form1->setGeometry(40, 50, 640, 400);
        First.Form2->resize(First.Form2->width(), 333);
        First.Form1->RunFolderDialog = [&](const QString &Current) -> std::optional<QString> {
            Offered = Current;
            return Chosen + QStringLiteral("/");
        };
        First.Form1->ChooseFolder1->trigger();
        EXPECT_EQ(First.Form1->FExportFolder, Chosen);
        SaveSession(*First.Form1, First.Form2.get());
    }
    // The dialog started in the folder the export would use.
    EXPECT_EQ(Offered, QDir(ProgramDir).filePath(QStringLiteral("MakedFile")));

    TRun Second = StartAgain();
    EXPECT_EQ(Second.Form1->SBN->value(), 2345);
    EXPECT_EQ(Second.Form1->SBCSL->value(), 2400);
    EXPECT_EQ(Second.Form1->SBNW->value(), 4321);
    EXPECT_EQ(Second.Form1->SBHZ->value(), 7);
    EXPECT_EQ(Second.Form1->Edit2->text(), QStringLiteral("4321"));
    EXPECT_EQ(Second.Form1->Settings->ValueOf(Second.Form1->SBML), 22050);
    EXPECT_EQ(Second.Form1->SBML->value(), Second.Form1->SBML->maximum());
    EXPECT_EQ(Second.Form1->Settings->ValueOf(Second.Form1->Settings->SBPAD), 1323);
    EXPECT_EQ(Second.Form1->size(), QSize(640, 400));
    EXPECT_EQ(Second.Form2->height(), 333);
    EXPECT_EQ(Second.Form1->FExportFolder, Chosen);

    // The export goes into the chosen folder, made when missing.
    Form = std::move(Second.Form1);
    Second.Form2.reset();
    Form->ShowMessage = [this](const QString &Text) { Messages << Text; };
    Form->AskYesNo = [](const QString &, const QString &) { return false; };
    std::vector<std::int16_t> Frames(3000, 0);
    for (int I = 500; I < 800; ++I)
        Frames[static_cast<std::size_t>(I)] = 8000;
    Open(WriteFile("burst.wav", Mono16(Frames)));
    Form->SBN->setValue(1000);
    Form->SBNW->setValue(100);
    Form->SBML->setValue(100);
    TypeInto(Form->Settings->Edit11, QStringLiteral("0"));
    Form->N5Click();
    Form->N6Click();
    EXPECT_EQ(QDir(Chosen).entryList(QDir::Files), QStringList{QStringLiteral("WAVE00.wav")});
}

TEST_F(SessionTest, TheFolderDialogCancelledKeepsTheFolderAndTheDefaultsComeBack)
{
    Form->FExportFolder = Dir.path();
    Form->RunFolderDialog = [](const QString &) -> std::optional<QString> { return std::nullopt; };
    Form->ChooseFolder1->trigger();
    EXPECT_EQ(Form->FExportFolder, Dir.path());

    const TSettingValues Designed = SettingValuesOf(*Form);
    for (QScrollBar *Bar : {Form->SBN, Form->SBCSL, Form->SBNW, Form->SBML, Form->SBMZSS, Form->SBMZSE,
                            Form->SBAFIL, Form->SBAFOL, Form->SBVZ, Form->SBHZ})
        Bar->setValue(Bar->maximum());
    TypeInto(Form->Edit2, QStringLiteral("2s"));
    TypeInto(Form->Settings->Edit12, QStringLiteral("10ms"));
    ASSERT_NE(SettingValuesOf(*Form), Designed);
    Form->Defaults1->trigger();
    EXPECT_EQ(SettingValuesOf(*Form), Designed);
    EXPECT_EQ(Form->Edit1->text(), QString::number(Designed.value(QStringLiteral("SBN"))));
    EXPECT_EQ(Form->Settings->ValueOf(Form->SBNW), Form->SBNW->value()) << "a typed value stays beyond the defaults";
}

TEST_F(SessionTest, AreasAreKeptForTheLastHundredRecordingsAndOnlyWhole)
{
    const auto Key = [](int I) { return TRecordingKey{"/recordings/" + QByteArray::number(I) + ".wav", 1000 + I, I}; };
    const std::vector<TTrimArea> Areas{{10, 20}, {30, 45}};
    const QDir Store(DataHome() + "/redivev/areas");

    // A store cut short, or edited into something else, offers nothing.
    KeepAreas(Key(0), Areas);
    ASSERT_EQ(KeptAreas(Key(0), 100), Areas);
    const QStringList Files = Store.entryList(QDir::Files | QDir::Hidden);
    ASSERT_EQ(Files.size(), 1);
    const QString File = Store.filePath(Files.first());
    const wavtest::Bytes Stored = wavtest::ReadFileBytes(File.toStdString());
    const QByteArray Whole(reinterpret_cast<const char *>(Stored.data()), qsizetype(Stored.size()));
    for (const QByteArray &Broken : {Whole.left(Whole.size() - 1), Whole.left(Whole.lastIndexOf(' ')) + " x\n",
                                     QByteArray(Whole).replace(" 45\n", " 25\n30 45\n")}) {
        wavtest::WriteFileBytes(File.toStdString(), wavtest::Bytes(Broken.begin(), Broken.end()));
        EXPECT_FALSE(KeptAreas(Key(0), 100)) << Broken.toStdString();
    }
    // Another size or time is another recording; areas beyond it are none.
    KeepAreas(Key(0), Areas);
    EXPECT_FALSE(KeptAreas(TRecordingKey{Key(0).Path, Key(0).Size + 1, Key(0).TimeNs}, 100));
    EXPECT_FALSE(KeptAreas(TRecordingKey{Key(0).Path, Key(0).Size, Key(0).TimeNs + 1}, 100));
    EXPECT_FALSE(KeptAreas(Key(0), 44));

    // The last hundred recordings.
    for (int I = 1; I < 101; ++I)
        KeepAreas(Key(I), Areas);
    EXPECT_EQ(Store.entryList(QDir::Files | QDir::Hidden).size(), 100);
    int Kept = 0;
    for (int I = 0; I < 101; ++I)
        Kept += KeptAreas(Key(I), 100).has_value() ? 1 : 0;
    EXPECT_EQ(Kept, 100);
    EXPECT_EQ(KeptAreas(Key(100), 100), Areas);
    // No areas left forgets the recording.
    KeepAreas(Key(100), {});
    EXPECT_EQ(Store.entryList(QDir::Files | QDir::Hidden).size(), 99);
    EXPECT_FALSE(KeptAreas(Key(100), 100));
}

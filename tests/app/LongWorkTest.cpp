// Detection and export run off the window's thread behind a progress
// dialog whose Cancel stops them: a cancelled detection leaves the areas as
// they were, a cancelled export only whole files; an export many times the
// recording's size is asked about first.
#include "DetectionSupport.h"

#include "app/BackgroundWork.h"
#include "app/Export.h"
#include "app/OpenNamed.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QTest>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

using namespace apptest;

namespace {

class LongWorkTest : public CommandTest {
protected:
    void SetUp() override
    {
        CommandTest::SetUp();
        TBackgroundWork::QuietTime = std::chrono::milliseconds(0);
        // Presses Cancel as soon as a progress dialog shows.
        QObject::connect(&Watch, &QTimer::timeout, [this] {
            for (QWidget *Window : QApplication::topLevelWidgets())
                if (auto *Dialog = qobject_cast<QProgressDialog *>(Window); Dialog != nullptr && Dialog->isVisible()) {
                    if (++Dialogs == 1 && OnDialog)
                        OnDialog();
                    Modal = Dialog->windowModality() == Qt::ApplicationModal;
                    Dialog->findChild<QPushButton *>()->click();
                }
        });
        Watch.start(0);
    }
    void TearDown() override
    {
        Watch.stop();
        TBackgroundWork::QuietTime = std::chrono::milliseconds(1000);
        CommandTest::TearDown();
    }

    QString Folder() const { return ProgramDir + "/MakedFile"; }

    QTimer Watch;
    std::function<void()> OnDialog;
    int Dialogs = 0;
    bool Modal = false;
};

} // namespace

TEST_F(LongWorkTest, ACancelledDetectionLeavesTheAreasAsTheyWere)
{
    // Each loud position opens an area whose start search looks 5000
    // positions back: billions of reads in all.
    std::vector<std::int16_t> Samples;
    for (int I = 0; I < 100000; ++I) {
        const auto Run = Levels16({{1, 5000}, {10, 0}});
        Samples.insert(Samples.end(), Run.begin(), Run.end());
    }
    Load(Mono16(Samples));
    Form->SBMZSS->setValue(5000);
    Form->SBNW->setValue(10);
    const std::vector<TTrimArea> Before{{3, 50}, {70, 200}};
    Form->FAreas = Before;
    Form->FAreaCount = 2;
    // A file dropped meanwhile waits until the detection has ended.
    const QString Dropped = WriteFile("dropped.wav", Silence16(500));
    // Enter, to the dialog or its button, is no Cancel: a key meant for
    // the window must not end the work.
    bool EnterCancelled = true;
    OnDialog = [&] {
        for (QWidget *Window : QApplication::topLevelWidgets())
            if (auto *Dialog = qobject_cast<QProgressDialog *>(Window); Dialog != nullptr && Dialog->isVisible()) {
                QTest::keyClick(Dialog, Qt::Key_Return);
                QTest::keyClick(Dialog->findChild<QPushButton *>(), Qt::Key_Enter);
                EnterCancelled = Dialog->wasCanceled();
            }
        OpenNamedFile(*Form, Dropped);
    };

    Form->N5Click();
    EXPECT_EQ(Form->ZU->GetWaveSize(), 1100000);
    EXPECT_GE(Dialogs, 1);
    EXPECT_TRUE(Modal);
    EXPECT_FALSE(EnterCancelled);
    EXPECT_EQ(Form->FAreas, Before);
    EXPECT_EQ(Form->FAreaCount, 2);
    EXPECT_TRUE(Messages.isEmpty()) << Messages.join('|').toStdString();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    QElapsedTimer Clock;
    Clock.start();
    while (Form->ZU->GetWaveSize() != 500 && Clock.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(Form->ZU->GetWaveSize(), 500);
}

TEST_F(LongWorkTest, AnOverlargeExportIsAskedAndACancelledOneLeavesWholeFiles)
{
    std::vector<std::int16_t> Samples(30000);
    for (std::size_t I = 0; I < Samples.size(); ++I)
        Samples[I] = std::int16_t(I * 7919 % 60000 - 30000);
    const wavtest::Bytes Source = Mono16(Samples);
    Load(Source);
    // 2000 overlapping areas: 100 MB from a recording of 60 kB.
    Form->FAreas.assign(2000, TTrimArea{1000, 26000});
    Form->FAreaCount = 2000;

    Answer = false;
    Form->N6Click();
    ASSERT_EQ(Questions.size(), 1);
    EXPECT_TRUE(Questions[0].startsWith("確認|")) << Questions[0].toStdString();
    EXPECT_FALSE(QDir(Folder()).exists() && !QDir(Folder()).isEmpty());
    EXPECT_EQ(Dialogs, 0);

    Answer = true;
    Questions.clear();
    Form->N6Click();
    EXPECT_EQ(Questions.size(), 1) << "asked whether to open the folder after a cancel";
    EXPECT_EQ(Messages, QStringList{"保存を取り消しました。それまでに保存したファイルは出力先に残っています\n" + Folder()});
    const QStringList Present =
        QDir(Folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
    ASSERT_FALSE(Present.isEmpty());
    EXPECT_LT(Present.size(), 2000);
    const wavtest::Bytes Piece(Source.begin() + 44 + 2000, Source.begin() + 44 + 52000);
    for (int I = 0; I < Present.size(); ++I) {
        ASSERT_EQ(Present[I], QFileInfo(ExportFileName(Folder(), I)).fileName());
        EXPECT_TRUE(ReadWav(ExportFileName(Folder(), I)).Data == Piece) << I;
    }
}

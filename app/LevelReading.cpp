#include "app/LevelReading.h"

#include "app/PeakLevels.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

TLevelReading::TLevelReading(QWidget *Over, const QString &Name, std::shared_ptr<TPeakLevels> Levels,
                             std::shared_ptr<const void> Keep, std::function<void()> Repaint)
    : QFrame(Over), FName(Name), FRepaint(std::move(Repaint))
{
    setObjectName(QStringLiteral("LevelReading"));
    setAutoFillBackground(true);
    setFrameShape(QFrame::StyledPanel);
    auto *Layout = new QHBoxLayout(this);
    Layout->setContentsMargins(6, 2, 2, 2);
    FLine = new QLabel(this);
    FCancel = new QPushButton(QCoreApplication::translate("TLevelReading", "キャンセル"), this);
    FCancel->setAutoDefault(false);
    Layout->addWidget(FLine);
    Layout->addWidget(FCancel);
    connect(FCancel, &QPushButton::clicked, this, [this] { FStop.store(true); });
    FTimer = new QTimer(this);
    FTimer->setInterval(100);
    connect(FTimer, &QTimer::timeout, this, [this] { Tick(); });

    FThread = std::thread([this, Levels = std::move(Levels), Keep = std::move(Keep)] {
        try {
            Levels->Build(FStop, [this](double Share) { FShare.store(Share); });
        } catch (const std::exception &Error) {
            const std::lock_guard<std::mutex> Hold(FLock);
            FFailure = QString::fromUtf8(Error.what());
        }
        FEnded.store(true);
    });
    FTimer->start();
    Tick();
    move(4, 4);
    show();
}

TLevelReading::~TLevelReading()
{
    FStop.store(true);
    FThread.join();
}

QString TLevelReading::Line() const
{
    return FLine->text();
}

void TLevelReading::Tick()
{
    const bool Ended = FEnded.load();
    QString Failure;
    {
        const std::lock_guard<std::mutex> Hold(FLock);
        Failure = FFailure;
    }
    const int Percent = static_cast<int>(FShare.load() * 100);
    if (!Failure.isEmpty())
        FLine->setText(
            QCoreApplication::translate("TLevelReading", "%1: 波形を読み込めません: %2").arg(FName, Failure));
    else if (Ended && FStop.load() && Percent < 100)
        FLine->setText(QCoreApplication::translate("TLevelReading", "%1: 波形の読み込みを中止しました (%2%)")
                           .arg(FName)
                           .arg(Percent));
    else
        FLine->setText(QCoreApplication::translate("TLevelReading", "%1: 波形を読み込んでいます... %2%")
                           .arg(FName)
                           .arg(Percent));
    adjustSize();
    if (FRepaint)
        FRepaint();
    if (!Ended)
        return;
    FTimer->stop();
    FCancel->hide();
    adjustSize();
    // All read: nothing left to say. Stopped or failed: the line says why
    // the view is drawn only so far.
    if (Failure.isEmpty() && !(FStop.load() && Percent < 100))
        hide();
}

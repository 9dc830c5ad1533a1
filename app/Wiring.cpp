// How TForm1's controls reach their handlers, and the default answers of
// the modal seam.
#include "app/Unit1.h"

#include "app/Application.h"
#include "app/EngineMessages.h"
#include "app/FileDrop.h"
#include "app/FolderBrowser.h"
#include "app/PaintBox.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

#include <exception>

namespace {

// Hands the "Move" button's raw mouse events to the form, leaving the
// button's own pressed look untouched.
class TButtonMouseHook : public QObject {
public:
    TButtonMouseHook(QObject *Parent, TForm1 &Form) : QObject(Parent), FForm(Form) {}

protected:
    bool eventFilter(QObject *, QEvent *Event) override
    {
        switch (Event->type()) {
        case QEvent::MouseButtonPress: {
            const auto *Mouse = static_cast<QMouseEvent *>(Event);
            const QPoint At = Mouse->position().toPoint();
            FForm.Button2MouseDown(Mouse->button(), Mouse->modifiers(), At.x(), At.y());
            break;
        }
        case QEvent::MouseMove: {
            const auto *Mouse = static_cast<QMouseEvent *>(Event);
            const QPoint At = Mouse->position().toPoint();
            FForm.Button2MouseMove(Mouse->modifiers(), At.x(), At.y());
            break;
        }
        case QEvent::MouseButtonRelease: {
            const auto *Mouse = static_cast<QMouseEvent *>(Event);
            const QPoint At = Mouse->position().toPoint();
            FForm.Button2MouseUp(Mouse->button(), Mouse->modifiers(), At.x(), At.y());
            break;
        }
        default:
            break;
        }
        return false;
    }

private:
    TForm1 &FForm;
};

} // namespace

void TForm1::Guarded(const std::function<void()> &Handler)
{
    try {
        Handler();
    } catch (const std::exception &Error) {
        ShowError(EngineMessage(Error.what()));
    } catch (...) {
        ShowError(tr("Unknown error"));
    }
}

void TForm1::InstallModalDefaults()
{
    RunOpenDialog = [this]() -> std::optional<QString> {
        // A dialog of OD's settings, gone when it closes. A name typed into
        // OD itself and taken with Return could leave OD's completion list
        // open, or open it again once the folder typed has been read: a
        // popup that holds the pointer and swallows the next click.
        QFileDialog Dialog(this, OD->windowTitle(), OD->directory().path());
        Dialog.setOptions(OD->options());
        Dialog.setAcceptMode(OD->acceptMode());
        Dialog.setFileMode(OD->fileMode());
        Dialog.setDefaultSuffix(OD->defaultSuffix());
        Dialog.setNameFilters(OD->nameFilters());
        const bool Chosen = Dialog.exec() == QDialog::Accepted && !Dialog.selectedFiles().isEmpty();
        OD->setDirectory(Dialog.directory());
        if (!Chosen)
            return std::nullopt;
        return Dialog.selectedFiles().first();
    };
    ShowMessage = [this](const QString &Text) {
        QMessageBox Box(QMessageBox::NoIcon, QCoreApplication::applicationName(), Text, QMessageBox::Ok, this);
        Box.exec();
    };
    AskYesNo = [this](const QString &Caption, const QString &Text) {
        QMessageBox Box(QMessageBox::Information, Caption, Text, QMessageBox::NoButton, this);
        QPushButton *Yes = Box.addButton(tr("はい(&Y)"), QMessageBox::YesRole);
        Box.addButton(tr("いいえ(&N)"), QMessageBox::NoRole);
        Box.exec();
        return Box.clickedButton() == Yes;
    };
    OpenFolder = [this](const QString &Folder) {
        OpenFolderInBrowser(Folder, this, [this](const QString &Text) { ShowMessage(Text); });
    };
    ProgramDirectory = [] { return QCoreApplication::applicationDirPath(); };
    ShowError = [](const QString &Text) { ShowErrorMessage(Text); };
}

void TForm1::WireEvents()
{
    for (QScrollBar *Bar : {SBN, SBNW, SBML, SBCSL, SBAFIL, SBAFOL, SBMZSS, SBMZSE, SBVZ, SBHZ, SB, SBV})
        connect(Bar, &QScrollBar::valueChanged, this, [this, Bar] { Guarded([&] { SBChange(Bar); }); });

    connect(WAV1, &QAction::triggered, this, [this] { Guarded([this] { FileOpen(); }); });
    connect(N3, &QAction::triggered, this, [this] { Guarded([this] { N3Click(); }); });
    connect(N5, &QAction::triggered, this, [this] { Guarded([this] { N5Click(); }); });
    connect(N6, &QAction::triggered, this, [this] { Guarded([this] { N6Click(); }); });
    connect(Button1, &QPushButton::clicked, this, [this] { Guarded([this] { N5Click(); }); });
    connect(Playthistrimarea1, &QAction::triggered, this,
            [this] { Guarded([this] { Playthistrimarea1Click(); }); });

    PB->OnPaint = [this] { PBPaint(); };
    PB->OnMouseDown = [this](Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y) {
        Guarded([&] { PBMouseDown(Button, Shift, X, Y); });
    };

    // Moves count also while no button is held.
    Button2->setMouseTracking(true);
    Button2->installEventFilter(new TButtonMouseHook(Button2, *this));

    connect(Timer1, &QTimer::timeout, this, [this] { Guarded([this] { Timer1Timer(); }); });
    Timer1->start();

    AcceptWaveDrops(*this);
}

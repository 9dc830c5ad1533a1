#include "app/StartUp.h"

#include "app/ScreenFit.h"
#include "app/Session.h"
#include "app/Unit1.h"
#include "app/Unit2.h"

#include <QCoreApplication>

void ShowAtStart(TForm1 &Form1, TForm2 &Form2)
{
    RestoreSession(Form1, &Form2);
    FitToScreen(Form1);
    FitToScreen(Form2);
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, &Form2,
                     [&Form1, &Form2] { SaveSession(Form1, &Form2); });
    Form2.show();
    Form1.show();
}

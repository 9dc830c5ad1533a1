#include "Application.h"
#include "DisplayCheck.h"
#include "OpenNamed.h"
#include "Unit1.h"
#include "Unit2.h"

#include <memory>

int main(int argc, char *argv[])
{
    if (!DisplayChosen(argc, argv))
        return ReportNoDisplay();
    std::unique_ptr<TApplication> Application;
    {
        TNoDisplayGuard Guard;
        Application = std::make_unique<TApplication>(argc, argv);
    }
    TForm1 Form1;
    TForm2 Form2(Form1);
    Form2.show();
    Form1.show();
    OpenFromCommandLine(Form1, Application->arguments());
    return Application->exec();
}

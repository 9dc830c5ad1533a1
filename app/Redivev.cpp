#include "Application.h"
#include "Unit1.h"
#include "Unit2.h"

int main(int argc, char *argv[])
{
    TApplication Application(argc, argv);
    TForm1 Form1;
    TForm2 Form2(Form1);
    Form2.show();
    Form1.show();
    return Application.exec();
}

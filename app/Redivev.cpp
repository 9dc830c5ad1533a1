#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication Application(argc, argv);
    QMainWindow Window;
    Window.setWindowTitle("Redivev");
    Window.resize(700, 442);
    Window.show();
    return Application.exec();
}

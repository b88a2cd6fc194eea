#include "app/Program.h"

#include <QApplication>

int RunParlivo(int argc, char** argv)
{
    QApplication app(argc, argv);
    return 0;
}

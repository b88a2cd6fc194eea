#include "window/main/Program.h"

int main(int argc, char** argv)
{
    return RunParlivo(argc, argv);
}

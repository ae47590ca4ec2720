// The program's entry: everything happens in QlMainRun (shell/QlMain.h).
#include "shell/QlMain.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE prevInstance, LPSTR cmdLine, int showCmd)
{
    return QlMainRun(instance, showCmd);
}

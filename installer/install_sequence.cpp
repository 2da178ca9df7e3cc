// The install sequence, run when the left mouse button goes down on "安装".
#include "install_sequence.h"

void RunInstallSequence(HWND)
{
}

#include "platform/ime.h"

#include <QWidget>

#include <windows.h>
#include <imm.h>

void applyImeMode(QWidget *widget, int mode)
{
    if (mode != 4 || !widget)
        return;
    const HWND hwnd = reinterpret_cast<HWND>(widget->window()->winId());
    const HIMC imc = ImmGetContext(hwnd);
    if (!imc)
        return;
    ImmSetOpenStatus(imc, TRUE);
    ImmSetConversionStatus(imc, IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE, IME_SMODE_NONE);
    ImmReleaseContext(hwnd, imc);
}

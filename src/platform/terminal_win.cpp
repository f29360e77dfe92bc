#include "platform/terminal.h"

#include <cstdio>
#include <windows.h>

namespace tarvexio {

bool stdinIsTerminal()
{
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
}

HiddenInput::HiddenInput()
{
    DWORD mode = 0;
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    if (!GetConsoleMode(input, &mode))
        return;
    saved_ = mode;
    hidden_ = SetConsoleMode(input, mode & ~DWORD(ENABLE_ECHO_INPUT)) != 0;
}

HiddenInput::~HiddenInput()
{
    if (!hidden_)
        return;
    SetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), DWORD(saved_));
    std::fprintf(stderr, "\n");
}

} // namespace tarvexio

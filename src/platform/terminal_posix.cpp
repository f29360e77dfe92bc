#include "platform/terminal.h"

#include <cstdio>
#include <termios.h>
#include <unistd.h>

namespace tarvexio {

bool stdinIsTerminal()
{
    return ::isatty(STDIN_FILENO) != 0;
}

HiddenInput::HiddenInput()
{
    termios mode{};
    if (::tcgetattr(STDIN_FILENO, &mode) != 0)
        return;
    saved_ = mode.c_lflag;
    mode.c_lflag &= ~tcflag_t(ECHO);
    hidden_ = ::tcsetattr(STDIN_FILENO, TCSANOW, &mode) == 0;
}

HiddenInput::~HiddenInput()
{
    termios mode{};
    if (!hidden_ || ::tcgetattr(STDIN_FILENO, &mode) != 0)
        return;
    mode.c_lflag = tcflag_t(saved_);
    ::tcsetattr(STDIN_FILENO, TCSANOW, &mode);
    std::fprintf(stderr, "\n");
}

} // namespace tarvexio

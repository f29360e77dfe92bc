#pragma once

namespace tarvexio {

// Standard input is a terminal a person types at.
bool stdinIsTerminal();

// While it lives, what is typed at the terminal is not shown (a password); the line end that
// the person typed is shown again when it goes.
class HiddenInput {
public:
    HiddenInput();
    ~HiddenInput();
    HiddenInput(const HiddenInput&) = delete;
    HiddenInput& operator=(const HiddenInput&) = delete;

private:
    unsigned long saved_ = 0;
    bool hidden_ = false;
};

} // namespace tarvexio

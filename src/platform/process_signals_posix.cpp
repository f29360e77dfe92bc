#include "platform/process_signals.h"

#include "platform/stop_request.h"

#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace tarvexio {

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int signal)
{
    const char byte = signal == SIGHUP ? 'h' : signal == SIGINT ? 'i' : 't';
    if (byte != 'h')
        requestStop(); // for work that holds the event loop up
    // Only async-signal-safe calls here; a full pipe means a wake-up is already pending.
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[0], &byte, 1);
}

const int Handled[] = {SIGTERM, SIGINT, SIGHUP};

} // namespace

ProcessSignals::ProcessSignals(QObject* parent)
    : QObject(parent)
{
    // Its default would end the agent: an old tarvexioctl, or a stray kill, must not.
    ::signal(SIGUSR1, SIG_IGN);
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return;
    notifier_ = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        if (::read(signalPipe[1], &byte, 1) != 1)
            return;
        if (byte == 'h')
            emit reloadRequested();
        else
            emit terminationRequested(byte == 'i' ? QStringLiteral("SIGINT")
                                                  : QStringLiteral("SIGTERM"));
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : Handled)
        sigaction(signal, &action, nullptr);
}

ProcessSignals::~ProcessSignals()
{
    if (notifier_ == nullptr)
        return;
    struct sigaction action = {};
    for (const int signal : Handled) {
        // A late reload must not end a process that is leaving in order anyway.
        action.sa_handler = signal == SIGHUP ? SIG_IGN : SIG_DFL;
        sigaction(signal, &action, nullptr);
    }
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
}

} // namespace tarvexio

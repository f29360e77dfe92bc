#include "transport/dial_up.h"

#include "config/settings_record.h"
#include "platform/clock.h"
#include "transport/dial_up_backend.h"
#include "transport/ftp_job_dialog.h"

namespace tarvexio {

DialUpConnection::DialUpConnection(DialUpBackend& backend, Clock& clock)
    : backend_(backend)
    , clock_(clock)
{}

bool DialUpConnection::fail(FtpJobDialog* dialog, const char* text)
{
    if (dialog) {
        dialog->setPanelCaption(QString::fromUtf8(text));
        dialog->MsgBox(QString::fromUtf8(text));
    }
    return false;
}

bool DialUpConnection::DialUp(const TParametryFtp& parameters, FtpJobDialog* dialog)
{
    if (parameters.ParPbkCzyModem == 0) {
        NoDialNeeded = true;
        return true;
    }
    NoDialNeeded = false;
    const std::optional<int> active = backend_.activeConnections();
    if (!active)
        return fail(dialog, "Błąd odczytu aktywnych połączeń");
    if (*active > 0) {
        NoDialNeeded = true;
        return true;
    }
    Dialled = false;
    handle_.clear();
    const DialUpBackend::Dialled dialled =
        backend_.dial(parameters.ParNazwaPlikuPbk, parameters.ParPbkEntry, parameters.ParPbkUser,
                      parameters.ParPbkHaslo);
    handle_ = dialled.handle;
    if (!dialled.succeeded) {
        if (!handle_.isEmpty())
            backend_.hangUp(handle_);
        handle_.clear();
        return fail(dialog, "Błąd ustanowienia połączenia modemowego");
    }
    // The dial waits for the outcome, so the first query normally finds the final state.
    DialUpBackend::State state = DialUpBackend::State::Other;
    for (bool queried = true; queried;) {
        if (state == DialUpBackend::State::Connected) {
            Dialled = true;
            return true;
        }
        if (state == DialUpBackend::State::Disconnected) {
            backend_.hangUp(handle_);
            handle_.clear();
            return fail(dialog, "Błąd ustanowienia połączenia modemowego");
        }
        const std::optional<DialUpBackend::State> status = backend_.Status(handle_);
        queried = status.has_value();
        if (queried)
            state = *status;
        clock_.pause(PollPauseMs);
    }
    Dialled = true; // an unreadable state counts as connected
    return true;
}

void DialUpConnection::HangUpIfDialled()
{
    if (NoDialNeeded || !Dialled || handle_.isEmpty())
        return;
    const bool hungUp = backend_.hangUp(handle_);
    clock_.pause(PauseAfterHangUpMs);
    if (hungUp) {
        handle_.clear();
        Dialled = false;
    }
}

} // namespace tarvexio

#include "transport/ras_dial_up.h"

#include "platform/windows1250.h"

#include <ras.h>
#include <raserror.h>
#include <windows.h>

#include <cstring>
#include <vector>

namespace tarvexio {

namespace {

HRASCONN handleOf(const QString& handle)
{
    return reinterpret_cast<HRASCONN>(static_cast<quintptr>(handle.toULongLong()));
}

QString textOf(HRASCONN handle)
{
    return handle ? QString::number(reinterpret_cast<quintptr>(handle)) : QString();
}

template <size_t N> void copy(CHAR (&field)[N], const QString& text)
{
    const QByteArray bytes = toWindows1250(text);
    std::strncpy(field, bytes.constData(), N - 1);
    field[N - 1] = '\0';
}

} // namespace

std::optional<int> RasDialUp::activeConnections()
{
    std::vector<RASCONNA> connections(16);
    connections[0].dwSize = sizeof(RASCONNA);
    DWORD bytes = DWORD(connections.size() * sizeof(RASCONNA));
    DWORD count = 0;
    if (RasEnumConnectionsA(connections.data(), &bytes, &count) != 0)
        return std::nullopt;
    return int(count);
}

DialUpBackend::Dialled RasDialUp::dial(const QString& phonebook, const QString& entry,
                                       const QString& user, const QString& password)
{
    RASDIALPARAMSA parameters{};
    parameters.dwSize = sizeof(RASDIALPARAMSA);
    copy(parameters.szEntryName, entry);
    copy(parameters.szUserName, user);
    copy(parameters.szPassword, password);
    copy(parameters.szDomain, QStringLiteral("*"));
    const QByteArray book = toWindows1250(phonebook);
    HRASCONN handle = nullptr;
    const DWORD error = RasDialA(nullptr, phonebook.isEmpty() ? nullptr : book.constData(),
                                 &parameters, 1, nullptr, &handle);
    SecureZeroMemory(parameters.szPassword, sizeof parameters.szPassword);
    return {error == 0, textOf(handle)};
}

std::optional<DialUpBackend::State> RasDialUp::Status(const QString& handle)
{
    RASCONNSTATUSA status{};
    status.dwSize = sizeof(RASCONNSTATUSA);
    if (RasGetConnectStatusA(handleOf(handle), &status) != 0)
        return std::nullopt;
    if (status.rasconnstate == RASCS_Connected)
        return State::Connected;
    if (status.rasconnstate == RASCS_Disconnected)
        return State::Disconnected;
    return State::Other;
}

bool RasDialUp::hangUp(const QString& handle)
{
    return RasHangUpA(handleOf(handle)) == 0;
}

std::optional<QStringList> RasDialUp::entries(const QString& phonebook)
{
    std::vector<RASENTRYNAMEA> names(16);
    names[0].dwSize = sizeof(RASENTRYNAMEA);
    DWORD bytes = DWORD(names.size() * sizeof(RASENTRYNAMEA));
    DWORD count = 0;
    const QByteArray book = toWindows1250(phonebook);
    QStringList entries;
    if (RasEnumEntriesA(nullptr, phonebook.isEmpty() ? nullptr : book.constData(), names.data(),
                        &bytes, &count) != 0)
        return std::nullopt;
    for (DWORD i = 0; i < count; ++i)
        entries << fromWindows1250(QByteArray(names[i].szEntryName));
    return entries;
}

} // namespace tarvexio

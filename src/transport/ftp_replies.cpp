#include "transport/ftp_replies.h"

#include <algorithm>

namespace tarvexio {

namespace {

bool startsWithCode(const QByteArray& line)
{
    return line.size() >= 3 &&
           std::all_of(line.begin(), line.begin() + 3, [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

QList<QByteArray> finalReplyLines(const QByteArray& replies)
{
    QList<QByteArray> finals;
    QByteArray openCode; // the code of the multi-line reply being read
    for (QByteArray line : replies.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (!openCode.isEmpty()) {
            if (line.startsWith(openCode + ' ') || line == openCode) {
                finals << line;
                openCode.clear();
            }
            continue;
        }
        if (!startsWithCode(line))
            continue;
        if (line.size() > 3 && line[3] == '-')
            openCode = line.left(3);
        else if (line.size() == 3 || line[3] == ' ')
            finals << line;
    }
    return finals;
}

} // namespace tarvexio

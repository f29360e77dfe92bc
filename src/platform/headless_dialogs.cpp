#include "platform/headless_dialogs.h"

#include <cstdio>

namespace tarvexio {

using namespace Qt::StringLiterals;

QString ExceptionText(const std::exception& error)
{
    return QString::fromUtf8(error.what());
}

MessageAnswer HeadlessDialogs::MsgBox(const MessageRequest& request)
{
    report(request.caption.isEmpty() ? request.text : request.caption + u": "_s + request.text);
    return request.defaultAnswer;
}

void HeadlessDialogs::ShowExceptionNow(const std::exception& error)
{
    report(u"Błąd: "_s + ExceptionText(error));
}

void HeadlessDialogs::report(const QString& line)
{
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
    if (!logSink_)
        return;
    // The log itself may be what failed; stderr already has the text.
    try {
        logSink_(line);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
    }
}

} // namespace tarvexio

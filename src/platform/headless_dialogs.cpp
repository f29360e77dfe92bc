#include "platform/headless_dialogs.h"

#include <cstdio>

namespace tarvexio {

using namespace Qt::StringLiterals;

QString exceptionText(const std::exception& error)
{
    return QString::fromUtf8(error.what());
}

MessageAnswer HeadlessDialogs::MsgBox(const MessageRequest& request)
{
    report(request.caption.isEmpty() ? request.text : request.caption + u": "_s + request.text,
           request.icon == MessageIcon::Error);
    return request.defaultAnswer;
}

void HeadlessDialogs::ShowExceptionNow(const std::exception& error)
{
    report(u"Błąd: "_s + exceptionText(error), true);
}

void HeadlessDialogs::report(const QString& line, bool alert)
{
    const auto print = [](const QString& text) {
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        std::fflush(stderr);
    };
    if (printed_ || !logSink_)
        print(line);
    if (!logSink_)
        return;
    try {
        logSink_(line, alert);
    } catch (const std::exception& error) {
        // The log itself may be what failed: the box must still be seen somewhere.
        if (!printed_)
            print(line);
        print(QString::fromUtf8(error.what()));
    }
}

} // namespace tarvexio

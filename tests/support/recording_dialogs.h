#pragma once

#include "platform/dialogs.h"

#include <QList>
#include <QStringList>

#include <optional>

namespace tarvexio::test {

// Records every box and exception; answers boxes with `answer` (or their default).
class RecordingDialogs final : public Dialogs {
public:
    MessageAnswer MsgBox(const MessageRequest& request) override
    {
        boxes.append(request);
        return answer.value_or(request.defaultAnswer);
    }
    void ShowExceptionNow(const std::exception& error) override
    {
        exceptions.append(exceptionText(error));
    }

    QList<MessageRequest> boxes;
    QStringList exceptions;
    std::optional<MessageAnswer> answer;
};

} // namespace tarvexio::test

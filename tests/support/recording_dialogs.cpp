#include "support/recording_dialogs.h"

namespace tarvexio::test {

MessageAnswer RecordingDialogs::MsgBox(const MessageRequest& request)
{
    boxes.append(request);
    return answer.value_or(request.defaultAnswer);
}

void RecordingDialogs::ShowExceptionNow(const std::exception& error)
{
    exceptions.append(ExceptionText(error));
}

} // namespace tarvexio::test

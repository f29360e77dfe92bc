#pragma once

#include <QLoggingCategory>

// Developer diagnostics, beside the agent's own event log.
Q_DECLARE_LOGGING_CATEGORY(lcApp)

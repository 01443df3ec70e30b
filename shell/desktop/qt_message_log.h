#pragma once
// Where Qt's own messages go. Qt writes its warnings ("QStandardPaths: XDG_RUNTIME_DIR not
// set...", a launcher it cannot find) in English to stderr, which is the user's terminal when
// the program is started from one. The desktop program routes them instead to its log when one
// is asked for — the file named by the environment variable TALVERS_LOG, appended to, one
// line per message: date, time, kind and text — and otherwise drops them. Install before the
// QApplication is made, so that what Qt says while starting is routed too.
#include <QString>

#include "shell/dataaccess/date_time.h"

namespace talvers {

inline constexpr const char* kLogVariable = "TALVERS_LOG";

// Routes every Qt message to the log named by TALVERS_LOG (or nowhere, when it is unset or
// empty). A log that cannot be written loses the message, never shows it elsewhere.
void routeQtMessages();

// The log's line for one message, "2026-12-09 14:27:03 aviso: text".
QString qtLogLine(QtMsgType type, const QString& text, const DateTime& when);

}  // namespace talvers

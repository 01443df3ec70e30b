#pragma once
// The serial-number stock check. For every article and warehouse with type-'T' picking
// movements that carry a serial number it builds a message (movement count, available stock,
// serial numbers on record, stock per warehouse) and hands it to `showMessage`, which waits
// for the user. It then replays the article's serial movements on valid document lines and
// compares the serials left in stock with those on record. The findings are one row per
// serial: "Em stock", "Sem registo", "Não encontrado" or "Saída sem entrada".
#include <functional>
#include <string>

#include "reports/frame/erp_session.h"
#include "reports/frame/report_output.h"
#include "reports/frame/report_progress.h"
#include "shell/dataaccess/connection.h"

namespace talvers {

using SerialMessageSink = std::function<void(const std::string& message)>;

// Sheet "Números de Série", title "Verificação de Números de Série em " + today.
ReportOutput serialCheckOutput();

// Database failures propagate as DatabaseError. `decimalSeparator` is used for the money
// values inside the messages (plain number form). Everything the check reads after the
// movement query is fetched for all articles before the first message (the session says how;
// the messages and findings are the same either way). Only the main connection is read. A
// warehouse list is in warehouse order, an article's movements are replayed in document order.
Table runSerialCheck(const ErpSession& session, const SerialMessageSink& showMessage,
                     char decimalSeparator, ReportProgress& progress);

}  // namespace talvers

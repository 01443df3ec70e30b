#pragma once
// The requests the report commands run: today's defaults (the windows' start values) with the
// options given on top. A date option that is not a valid YYYY-MM-DD date is a UsageError.
#include "reports/pending/pending_orders_request.h"
#include "reports/provisioning/provisioning_request.h"
#include "reports/supplier/orders_by_supplier_request.h"
#include "shell/cli/command_options.h"

namespace talvers {

inline constexpr OptionSpec kStartDateOption{
    "--date", "AAAA-MM-DD", "a data a partir da qual contam as encomendas", "há um ano"};
inline constexpr OptionSpec kProvisioningOptions[] = {
    {"--from", "AAAA-MM-DD", "o primeiro dia das vendas", "1 de janeiro deste ano"},
    {"--to", "AAAA-MM-DD", "o último dia das vendas", "hoje"},
    {"--group", "CODIGO", "só os artigos deste grupo", "todos"},
    {"--family", "CODIGO", "só os artigos desta família", "todas"}};

// --date
PendingOrdersRequest pendingOrdersRequest(const CommandOptions& options, const DateTime& today);
// --date
OrdersBySupplierRequest ordersBySupplierRequest(const CommandOptions& options,
                                                const DateTime& today);
// --from, --to, --group, --family
ProvisioningRequest provisioningRequest(const CommandOptions& options, const DateTime& today);

}  // namespace talvers

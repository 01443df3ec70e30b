#include "apps/report_requests.h"

#include "apps/report_delivery.h"

namespace talvers {

PendingOrdersRequest pendingOrdersRequest(const CommandOptions& options, const DateTime& today) {
    PendingOrdersRequest request = PendingOrdersRequest::defaults(today);
    request.startDate = dateOption(options, "--date", request.startDate);
    return request;
}

OrdersBySupplierRequest ordersBySupplierRequest(const CommandOptions& options,
                                                const DateTime& today) {
    OrdersBySupplierRequest request = OrdersBySupplierRequest::defaults(today);
    request.startDate = dateOption(options, "--date", request.startDate);
    return request;
}

ProvisioningRequest provisioningRequest(const CommandOptions& options, const DateTime& today) {
    ProvisioningRequest request = ProvisioningRequest::defaults(today);
    request.firstDate = dateOption(options, "--from", request.firstDate);
    request.lastDate = dateOption(options, "--to", request.lastDate);
    request.group = options.value("--group").value_or(request.group);
    request.family = options.value("--family").value_or(request.family);
    return request;
}

}  // namespace talvers

#pragma once
// The provisioning query's T-SQL text, joined from its fixed fragments with nothing between
// them. The first date reaches SQL as "yyyy-mm-dd 00:00" and the last as "yyyy-mm-dd 23:59",
// so documents of the whole last day count. Group and family (alternate variant only) are
// spliced as typed — not trimmed — with quotes doubled so that a quote cannot break the text.
#include <array>
#include <string>
#include <string_view>

#include "reports/provisioning/provisioning_request.h"
#include "shell/dataaccess/date_time.h"

namespace talvers {

std::string provisioningFirstDateText(const DateTime& date);  // "yyyy-mm-dd 00:00"
std::string provisioningLastDateText(const DateTime& date);   // "yyyy-mm-dd 23:59"

// Every active article; stock and orders over the default warehouse pair ("001", "002").
std::string provisioningDefaultSql(const DateTime& firstDate, const DateTime& lastDate);
// Active articles with a stock row in '002' or '004'; group and family only when not empty.
std::string provisioningAlternateSql(const DateTime& firstDate, const DateTime& lastDate,
                                     std::string_view group, std::string_view family);

// The two warehouses whose stock and orders the variant's query counts.
std::array<std::string_view, 2> provisioningWarehouses(bool companyVariant);

// The variant's text for the filter; the filter's warehouse is read by neither variant.
std::string provisioningSql(bool companyVariant, const ProvisioningRequest& filter);

}  // namespace talvers

#include "reports/supplier/orders_by_supplier.h"

namespace talvers {

ReportOutput ordersBySupplierOutput(bool companyVariant) {
    return {"Enc. Pendentes_Fornecedor",
            companyVariant ? "Enc. Pendentes_Fornecedor em " : "Encomendas Cliente_Fornecedor em "};
}

Table runOrdersBySupplier(bool companyVariant, Connection& bd, Connection& bdExt,
                          const DateTime& startDate, ReportProgress& progress, LookupMode mode) {
    return companyVariant ? ExtrairDIID(bd, bdExt, startDate, progress, mode)
                          : ExtrairBDC(bd, startDate, progress, mode);
}

}  // namespace talvers

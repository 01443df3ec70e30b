#include "reports/supplier/orders_by_supplier.h"

namespace talvers {

ReportOutput ordersBySupplierOutput(bool companyVariant) {
    return {"Enc. Pendentes_Fornecedor",
            companyVariant ? "Enc. Pendentes_Fornecedor em " : "Encomendas Cliente_Fornecedor em "};
}

Table runOrdersBySupplier(const ErpSession& session, const OrdersBySupplierRequest& request,
                          ReportProgress& progress) {
    return session.companyVariant ? ExtrairDIID(session, request, progress)
                                  : ExtrairBDC(session, request, progress);
}

}  // namespace talvers

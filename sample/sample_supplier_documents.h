#pragma once
// The supplier side: supplier orders (EFO) over the last ~13 months with the buyers' notes
// per line (U_DOCGCLIN, and U_DocGCLin0 for some), and supplier delivery notes (GRF) over the
// last year. Adds the open supplier order quantities to the catalog's articles.
#include "sample/sample_catalog.h"
#include "sample/sample_document_writer.h"

namespace talvers {

void writeSampleSupplierDocuments(SampleCatalog& catalog, const DateTime& today, long lines,
                                  SampleRandom& random, SampleDocumentWriter& documents,
                                  SampleDatabase& main);

}  // namespace talvers

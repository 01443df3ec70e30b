#pragma once
// Sales documents of this year and the previous one: invoices (sign 1), cash sales (sign 3)
// and credit notes (sign 2), in every warehouse, about `lines` lines in all.
#include "sample/sample_catalog.h"
#include "sample/sample_document_writer.h"

namespace talvers {

void writeSampleSales(const SampleCatalog& catalog, const DateTime& today, long lines,
                      SampleRandom& random, SampleDocumentWriter& documents);

}  // namespace talvers

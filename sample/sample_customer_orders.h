#pragma once
// The customer orders (ECL), spread over the ~18 months before today, with their CLDOCGC
// separation marks, and in the external database the record of which Lisbon order each one
// was exported from together with those Lisbon orders. Adds the open quantities to the
// catalog's articles.
#include "sample/sample_catalog.h"
#include "sample/sample_document_writer.h"

namespace talvers {

// Writes exactly `lines` order lines (at least the few dozen the fixed cases need).
void writeSampleCustomerOrders(SampleCatalog& catalog, const DateTime& today, long lines,
                               SampleRandom& random, SampleDocumentWriter& documents,
                               SampleDatabase& main, SampleDatabase& external);

}  // namespace talvers

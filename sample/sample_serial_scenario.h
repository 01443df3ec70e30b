#pragma once
// The serial-numbered batteries: their delivery notes and sales, the serial-number movements
// (NSerMovs) on valid and invalid document lines, the serial numbers on record (NserExis)
// and the picking movements (qor_ARM_picking_Movimentos) the serial-number check starts from.
#include "sample/sample_catalog.h"
#include "sample/sample_document_writer.h"

namespace talvers {

void writeSampleSerialScenario(const SampleCatalog& catalog, const DateTime& today,
                               SampleDocumentWriter& documents, SampleDatabase& main);

}  // namespace talvers

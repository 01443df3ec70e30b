#pragma once
// The words the sample database is made of: a Portuguese car-parts wholesaler's salespeople,
// suppliers, product groups and families, customers and notes. Accented letters are there on
// purpose, so every report meets multi-byte characters.
#include <string>
#include <vector>

#include "sample/sample_random.h"

namespace talvers {

struct SampleFamilyName {
    const char* code;
    const char* name;
};

// A product line: the family it belongs to, the base of its article names and the sizes or
// versions it comes in.
struct SampleProductLine {
    const char* family;
    const char* base;
    std::vector<const char*> versions;
};

struct SampleGroupName {
    const char* code;
    const char* name;
    std::vector<SampleFamilyName> families;
    std::vector<SampleProductLine> lines;
};

const std::vector<SampleGroupName>& sampleGroups();
const std::vector<const char*>& sampleBrands();
const std::vector<const char*>& sampleSalespeople();
// Thirty suppliers. The first holds line feeds and the second is longer than 80 characters,
// as names typed into the ERP's address fields are.
const std::vector<const char*>& sampleSupplierNames();
const std::vector<const char*>& sampleWarehouseNames();  // for "001" to "004"
const std::vector<const char*>& sampleOrderNotes();
const std::vector<const char*>& sampleSeparationMarks();

// A workshop, shop or person name in one of the given towns.
std::string sampleCustomerName(SampleRandom& random, const std::vector<const char*>& towns);
const std::vector<const char*>& sampleTowns();        // the company's own customers
const std::vector<const char*>& sampleLisbonTowns();  // the Lisbon company's customers
// A note a buyer writes on a supplier order line.
std::string sampleSupplierNote(SampleRandom& random, const std::string& expectedDate);

}  // namespace talvers

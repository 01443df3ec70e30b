#include "reports/provisioning/pick_lists.h"

#include <gtest/gtest.h>

#include "tests/support/erp_fixture.h"

namespace talvers {
namespace {

TEST(PickLists, SqlTexts) {
    EXPECT_EQ(pickListSql(PickList::Warehouses, "G1"),
              "SELECT Codigo as 'Código', Nome as 'Descrição' FROM Armazens order by Codigo");
    EXPECT_EQ(pickListSql(PickList::Groups, "G1"),
              "SELECT COD as 'Código',  Descr as Nome From Grupos  order by Descr ");
    EXPECT_EQ(pickListSql(PickList::Families, ""),
              "SELECT Cod as 'Código', Descr as 'Descrição' FROM Familia  group by cod,Descr "
              "order by Cod");
    EXPECT_EQ(pickListSql(PickList::Families, "G'1 "),
              "SELECT Cod as 'Código', Descr as 'Descrição' FROM Familia where Grupo='G''1 '  "
              "group by cod,Descr order by Cod");
}

TEST(PickLists, Layouts) {
    const PickListLayout warehouses = pickListLayout(PickList::Warehouses);
    EXPECT_EQ(warehouses.caption, "Armazéns");
    EXPECT_EQ(warehouses.dialogWidthTwips, 5500);
    EXPECT_EQ(warehouses.firstColumnTwips, 1500);
    EXPECT_EQ(warehouses.secondColumnTwips, 3500);
    const PickListLayout groups = pickListLayout(PickList::Groups);
    EXPECT_EQ(groups.caption, "Grupos");
    EXPECT_EQ(groups.dialogWidthTwips, 7200);
    EXPECT_EQ(groups.firstColumnTwips, 1700);
    EXPECT_EQ(groups.secondColumnTwips, 5000);
    const PickListLayout families = pickListLayout(PickList::Families);
    EXPECT_EQ(families.caption, "Famílias");
    EXPECT_EQ(families.dialogWidthTwips, 5500);
    EXPECT_EQ(families.firstColumnTwips, 1500);
    EXPECT_EQ(families.secondColumnTwips, 3500);
}

class PickListData : public ::testing::Test {
  protected:
    void SetUp() override {
        db.execMain(
            "INSERT INTO Armazens VALUES ('002', 'Porto'), ('001', 'Lisboa');"
            "INSERT INTO Grupos VALUES ('G2', 'Alfa'), ('G''1', 'Beta');"
            // One family code shared by two groups, with the same description.
            "INSERT INTO Familia VALUES ('F1', 'Parafusos', 'G''1'), ('F1', 'Parafusos', 'G2'),"
            " ('F0', 'Anilhas', 'G2');");
    }
    std::vector<std::pair<std::string, std::string>> load(PickList list, std::string group) {
        Connection& bd = db.bd();
        const Table rows = loadPickList(bd, list, group);
        std::vector<std::pair<std::string, std::string>> pairs;
        for (const auto& row : rows.rows()) pairs.emplace_back(row[0].toText(), row[1].toText());
        return pairs;
    }
    testing::ErpFixture db;
};

using Pairs = std::vector<std::pair<std::string, std::string>>;

TEST_F(PickListData, WarehousesAndGroupsGiveCodeThenDescription) {
    EXPECT_EQ(load(PickList::Warehouses, ""), (Pairs{{"001", "Lisboa"}, {"002", "Porto"}}));
    EXPECT_EQ(load(PickList::Groups, ""), (Pairs{{"G2", "Alfa"}, {"G'1", "Beta"}}));
}

TEST_F(PickListData, FamiliesOfAllGroupsOnceOrOfOneGroup) {
    EXPECT_EQ(load(PickList::Families, ""), (Pairs{{"F0", "Anilhas"}, {"F1", "Parafusos"}}));
    EXPECT_EQ(load(PickList::Families, "G'1"), (Pairs{{"F1", "Parafusos"}}));
    EXPECT_TRUE(load(PickList::Families, "G9").empty());
}

}  // namespace
}  // namespace talvers

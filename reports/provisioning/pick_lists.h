#pragma once
// The pick lists beside the provisioning filters: warehouses, groups, families (of a group,
// or of all groups). Each list has the code as its first column and a description second.
#include <string>
#include <string_view>

#include "shell/dataaccess/connection.h"

namespace talvers {

enum class PickList { Warehouses = 0, Groups = 1, Families = 2 };

struct PickListLayout {
    std::string caption;  // "Armazéns", "Grupos", "Famílias"
    int dialogWidthTwips;
    int firstColumnTwips;
    int secondColumnTwips;
};

PickListLayout pickListLayout(PickList list);
// The list's SQL; `group` is used by the families list only, when not empty.
std::string pickListSql(PickList list, std::string_view group);
Table loadPickList(Connection& bd, PickList list, std::string_view group);

}  // namespace talvers

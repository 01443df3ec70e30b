#include "reports/provisioning/pick_lists.h"

#include <stdexcept>

#include "shell/dataaccess/sql_literal.h"

namespace talvers {

PickListLayout pickListLayout(PickList list) {
    switch (list) {
        case PickList::Warehouses:
            return {"Armazéns", 5500, 1500, 3500};
        case PickList::Groups:
            return {"Grupos", 7200, 1700, 5000};
        case PickList::Families:
            return {"Famílias", 5500, 1500, 3500};
    }
    throw std::invalid_argument("Lista desconhecida.");
}

std::string pickListSql(PickList list, std::string_view group) {
    switch (list) {
        case PickList::Warehouses:
            return "SELECT Codigo as 'Código', Nome as 'Descrição' FROM Armazens order by Codigo";
        case PickList::Groups:
            return "SELECT COD as 'Código', "
                   " Descr as Nome From Grupos "
                   " order by Descr ";
        case PickList::Families: {
            std::string sql = "SELECT Cod as 'Código', Descr as 'Descrição' FROM Familia ";
            // A group typed by hand is taken as it is: no check that it exists.
            if (!group.empty()) sql += "where Grupo='" + sqlQuoted(group) + "' ";
            sql += " group by cod,Descr order by Cod";
            return sql;
        }
    }
    throw std::invalid_argument("Lista desconhecida.");
}

Table loadPickList(Connection& bd, PickList list, std::string_view group) {
    return bd.query(pickListSql(list, group));
}

}  // namespace talvers

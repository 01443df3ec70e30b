#include "reports/pending/pending_orders_sql.h"

namespace talvers {

std::string pendingOrdersSql(const DateTime& startDate) {
    return " SELECT c.TpDoc+'/'+CAST( c.Ano as nvarchar(4))+'/'+c.Serie+'/'+CAST(c.NNumDoc as "
           "nvarchar(10))+'/'+Cast(l.NUMLINHA as nvarchar(3)) as Doc,"
           " v.Nome,"
           " c.data,"
           " c.Terceiro,"
           " cl.Nome as NomeCli,"
           " l.Artigo,"
           " l.Valor,"
           " '' as NomeForn,"
           " l.Quant,"
           " (coalesce((SELECT ar.EXISTENC FROM  ARTARM as ar WHERE (ar.ARMAZEM = '001') AND "
           "(ar.ARTIGO = l.artigo)),0) - coalesce ((select are.armenccl from ArtArm as are where "
           "Are.armazem='001' and are.artigo=l.artigo ),0)) as 'StockDisp',"
           " coalesce((SELECT  ar.EXISTENC FROM  ARTARM as ar WHERE (ar.ARMAZEM = '001') AND "
           "(ar.ARTIGO = l.artigo)),0) as 'StockReal',"
           " c.Observ as OBS,"
           " coalesce((SELECT    CL05 FROM CLDOCGC as clv where clv.ano=c.ano and clv.NDOC "
           "=c.NNumdoc and clv.SERIE =c.serie and clv.TIPODOC =c.TpDoc),'') as Separado,"
           " '' as EncCliLx,"
           " '' as CliLx,"
           " '' as EncForn"
           " FROM    DOCGCCAB as c INNER JOIN  DOCGCLIN as l ON c.NNUMDOC = l.NNUMDOC AND "
           "c.TPDOC = l.TPDOCUM AND c.SERIE = l.SERIE AND c.ANO = l.ANO"
           " Inner Join Vendedor as v ON v.Codigo=c.vendedor"
           " Inner Join Clientes as cl ON cl.Codigo=c.Terceiro"
           " where   c.nvias<>-1 and c.areag=2 and c.Tpterc=2 and l.quant>0 and [convert]<>-1 "
           "and l.ARTIGO >''"
           " and c.Data >= CONVERT(DATETIME, '" +
           startDate.isoDate() +
           "', 102)"
           " and c.Serie<>'0' "
           " Order by c.Terceiro,c.Data, c.TpDoc, c.Ano, c.Serie, c.NNumDoc, l.NumLinha";
}

}  // namespace talvers

// The statements of the six views compared with texts assembled here, independently of the
// builder, from the fragment lists the host's DBAs signed off (one list per view and
// dialect; bare words after '@' are the slots).
#include "query/QueryStatementBuilder.h"

#include <QtTest>
#include <vector>

using kestrane::query::QueryStatementBuilder;
using kestrane::query::QueryStatementRequest;
using kestrane::query::QueryView;

namespace {

struct ViewText {
    const char16_t* view;
    const char16_t* kind; // empty: the same text for every database kind
    std::vector<const char16_t*> pieces;
};

const ViewText kTexts[] = {
    {u"单据汇总",
     u"SQLSERVER",
     {
         u"select a.f_Hsdwh,e.f_Hsdwmc,a.f_Fptjdh,a.f_Bmbm,f_Gjlx =case when  a.f_Gjlx ='0' then "
         u"'入库' when a.f_Gjlx ='1' then '直配' when a.f_gjlx in ('2','5','7','4','6') then "
         u"'代配' when a.f_gjlx ='8' then '退补' else '调整' end,",
         u"f_Rzrq = left(a.f_Rzrq,4) +'-' + substring(a.f_Rzrq,5,2) + '-'+ "
         u"right(a.f_Rzrq,2),a.f_Djh,",
         u"f_Gdrq = left(a.f_Gdrq,4) + '-'+ substring(a.f_Gdrq,5,2) +'-' + right(a.f_Gdrq,2),",
         u"a.f_Gysbm,sum(a.f_Gjje) f_Gjje,sum(f_Ygsl) f_Ygsl,sum(f_Ygws) f_Ygws,sum(a.f_Ygje) "
         u"f_Ygje,a.f_Gdrbm,a.f_Gdrmc,b.f_Bmmc,d.f_Csmc ",
         u"from tb",
         u"@PERIOD",
         u"_YGys a,tbBmda b,tbSpda c,tbCsda d,tbHsdwda e ",
         u"where a.f_Bmbm = b.f_Bmbm ",
         u"and a.f_Spbm = c.f_Spbm ",
         u"and a.f_Gysbm = d.f_Csbm ",
         u"and a.f_Hsdwh = e.f_Hsdwh ",
         u"and f_Gdrq >= '",
         u"@START",
         u"' ",
         u"and f_Gdrq <= '",
         u"@END",
         u"' ",
         u"and f_Gjlx <> '9' ",
         u"@COND",
         u" group by "
         u"a.f_Hsdwh,e.f_Hsdwmc,a.f_Bmbm,a.f_Gjlx,a.f_Rzrq,a.f_Gdrq,a.f_Gysbm,a.f_Gdrbm,a.f_Gdrmc,"
         u"b.f_Bmmc,",
         u"d.f_Csmc,a.f_Djh,a.f_Fptjdh ",
         u"union all ",
         u"select a.f_Hsdwh,e.f_Hsdwmc,a.f_Fptjdh,a.f_Bmbm,f_Gjlx =case when  a.f_Gjlx ='0' then "
         u"'入库' when a.f_Gjlx ='1' then '直配' when a.f_gjlx in ('2','5','7','4','6') then "
         u"'代配' when a.f_gjlx ='8' then '退补' else '调整' end,",
         u"f_Rzrq = left(a.f_Rzrq,4) +'-' + substring(a.f_Rzrq,5,2) + '-'+ "
         u"right(a.f_Rzrq,2),a.f_Djh,",
         u"f_Gdrq = left(a.f_Gdrq,4) + '-'+ substring(a.f_Gdrq,5,2) +'-' + right(a.f_Gdrq,2),",
         u"a.f_Gysbm,sum(a.f_Gjje) f_Gjje,sum(f_Ygsl) f_Ygsl,sum(f_Ygws) f_Ygws,sum(a.f_Ygje) "
         u"f_Ygje,a.f_Gdrbm,a.f_Gdrmc,b.f_Bmmc,d.f_Csmc ",
         u"from tb",
         u"@PERIOD",
         u"_YGys a,tbBmda b,tbYyda c,tbCsda d , tbHsdwda e ",
         u"where a.f_Bmbm = b.f_Bmbm ",
         u"and a.f_Spbm = c.f_Yybm ",
         u"and a.f_Gysbm = d.f_Csbm ",
         u"and a.f_Hsdwh = e.f_Hsdwh ",
         u"and f_Gdrq >= '",
         u"@START",
         u"' ",
         u"and f_Gdrq <= '",
         u"@END",
         u"' ",
         u"and f_Gjlx = '9' ",
         u"@COND2",
         u" group by "
         u"a.f_Hsdwh,e.f_Hsdwmc,a.f_Bmbm,a.f_Gjlx,a.f_Rzrq,a.f_Gdrq,a.f_Gysbm,a.f_Gdrbm,a.f_Gdrmc,"
         u"b.f_Bmmc,",
         u"d.f_Csmc,a.f_Djh,a.f_Fptjdh",
     }},
    {u"单据汇总",
     u"DB2",
     {
         u"select a.f_Hsdwh,e.f_Hsdwmc,a.f_Fptjdh,a.f_Bmbm,case when  a.f_Gjlx ='0' then '入库' "
         u"when a.f_Gjlx ='1' then '直配' when a.f_gjlx in ('2','5','7','4','6') then '代配' when "
         u"a.f_gjlx ='8' then '退补' else '调整' end f_Gjlx,",
         u"cast(left(a.f_Rzrq,4)||'-'||substr(a.f_Rzrq,5,2)||'-'||right(a.f_Rzrq,2) as char(10)) "
         u"f_Rzrq,a.f_Djh,",
         u"cast(left(a.f_Gdrq,4)||'-'||substr(a.f_Gdrq,5,2)||'-'||right(a.f_Gdrq,2) as char(10)) "
         u"f_Gdrq,",
         u"a.f_Gysbm,sum(round(a.f_Gjje,2)) f_Gjje,sum(round(f_Ygsl,2)) "
         u"f_Ygsl,sum(round(f_Ygws,2)) f_Ygws,sum(round(a.f_Ygje,2)) "
         u"f_Ygje,a.f_Gdrbm,a.f_Gdrmc,b.f_Bmmc,d.f_Csmc ",
         u"from tb",
         u"@PERIOD",
         u"_YGys a,tbBmda b,tbSpda c,tbCsda d,tbHsdwda e ",
         u"where a.f_Bmbm = b.f_Bmbm ",
         u"and a.f_Spbm = c.f_Spbm ",
         u"and a.f_Gysbm = d.f_Csbm ",
         u"and a.f_Hsdwh = e.f_Hsdwh ",
         u"and f_Gdrq >= '",
         u"@START",
         u"' ",
         u"and f_Gdrq <= '",
         u"@END",
         u"' ",
         u"and f_Gjlx <> '9' ",
         u"@COND",
         u" group by "
         u"a.f_Hsdwh,e.f_Hsdwmc,a.f_Bmbm,a.f_Gjlx,a.f_Rzrq,a.f_Gdrq,a.f_Gysbm,a.f_Gdrbm,a.f_Gdrmc,"
         u"b.f_Bmmc,",
         u"d.f_Csmc,a.f_Djh,a.f_Fptjdh ",
         u"union all ",
         u"select a.f_Hsdwh,e.f_Hsdwmc,a.f_Fptjdh,a.f_Bmbm,case when  a.f_Gjlx ='0' then '入库' "
         u"when a.f_Gjlx ='1' then '直配' when a.f_gjlx in ('2','5','7','4','6') then '代配' when "
         u"a.f_gjlx ='8' then '退补' else '调整' end f_Gjlx,",
         u"cast(left(a.f_Rzrq,4)||'-'||substr(a.f_Rzrq,5,2)||'-'||right(a.f_Rzrq,2) as char(10)) "
         u"f_Rzrq,a.f_Djh,",
         u"cast(left(a.f_Gdrq,4)||'-'||substr(a.f_Gdrq,5,2)||'-'||right(a.f_Gdrq,2) as char(10)) "
         u"f_Gdrq,",
         u"a.f_Gysbm,sum(round(a.f_Gjje,2)) f_Gjje,sum(round(f_Ygsl,2)) "
         u"f_Ygsl,sum(round(f_Ygws,2)) f_Ygws,sum(round(a.f_Ygje,2)) "
         u"f_Ygje,a.f_Gdrbm,a.f_Gdrmc,b.f_Bmmc,d.f_Csmc ",
         u"from tb",
         u"@PERIOD",
         u"_YGys a,tbBmda b,tbYyda c,tbCsda d,tbhsdwda e ",
         u"where a.f_Bmbm = b.f_Bmbm and a.f_Spbm = c.f_Yybm and a.f_Gysbm = d.f_Csbm ",
         u"and a.f_Hsdwh = e.f_Hsdwh ",
         u"and f_Gdrq >= '",
         u"@START",
         u"' and f_Gdrq <= '",
         u"@END",
         u"' and f_Gjlx = '9' ",
         u"@COND2",
         u" group by "
         u"a.f_Hsdwh,e.f_Hsdwmc,a.f_Bmbm,a.f_Gjlx,a.f_Rzrq,a.f_Gdrq,a.f_Gysbm,a.f_Gdrbm,a.f_Gdrmc,"
         u"b.f_Bmmc,",
         u"d.f_Csmc,a.f_Djh,a.f_Fptjdh",
     }},
    {u"厂商汇总",
     u"",
     {
         u"select a.f_Gysbm,d.f_Csmc,sum(round(f_Gjje,2)) f_Gjje,sum(round(f_Ygsl,2)) "
         u"f_Ygsl,sum(round(f_Ygws,2)) f_Ygws,sum(round(f_Ygje,2)) f_Ygje ",
         u"from tb",
         u"@PERIOD",
         u"_Ygys a left join tbspda c on a.f_Spbm = c.f_Spbm,tbBmda b,tbCsda d ",
         u"where a.f_Bmbm = b.f_Bmbm and a.f_Gysbm = d.f_Csbm and ",
         u"f_Gdrq >= '",
         u"@START",
         u"' and f_Gdrq <= '",
         u"@END",
         u"' ",
         u"@COND",
         u" group by a.f_Gysbm,d.f_Csmc",
     }},
    {u"部门汇总",
     u"",
     {
         u"select a.f_Bmbm,b.f_Bmmc,sum(round(f_Gjje,2)) f_Gjje,sum(round(f_Ygsl,2)) "
         u"f_Ygsl,sum(round(f_Ygws,2)) f_Ygws,sum(round(f_Ygje,2)) f_Ygje ",
         u"from tb",
         u"@PERIOD",
         u"_Ygys a left join tbspda c on a.f_Spbm = c.f_Spbm,tbBmda b,tbCsda d ",
         u"where a.f_Bmbm = b.f_Bmbm and a.f_Gysbm = d.f_Csbm and ",
         u"f_Gdrq >= '",
         u"@START",
         u"' and f_Gdrq <= '",
         u"@END",
         u"' ",
         u"@COND",
         u" group by a.f_Bmbm,b.f_Bmmc",
     }},
    {u"商品汇总",
     u"",
     {
         u"select a.f_Spbm,c.f_Spmc,sum(round(f_Gjje,2)) f_Gjje,sum(round(f_Ygsl,2)) "
         u"f_Ygsl,sum(round(f_Ygws,2)) f_Ygws,sum(round(f_Ygje,2)) f_Ygje ",
         u"from tb",
         u"@PERIOD",
         u"_Ygys a,tbBmda b,tbSpda c,tbCsda d ",
         u"where  a.f_Bmbm = b.f_Bmbm and a.f_Spbm = c.f_Spbm and a.f_Gysbm = d.f_Csbm and ",
         u"f_Gdrq >= '",
         u"@START",
         u"' and f_Gdrq <= '",
         u"@END",
         u"' ",
         u"@COND",
         u" group by a.f_Spbm,c.f_Spmc ",
         u"union all ",
         u"select a.f_Spbm,c.f_yymc f_spmc,sum(round(f_Gjje,2)) f_Gjje,sum(round(f_Ygsl,2)) "
         u"f_Ygsl,sum(round(f_Ygws,2)) f_Ygws,sum(round(f_Ygje,2)) f_Ygje ",
         u"from tb",
         u"@PERIOD",
         u"_Ygys a,tbBmda b,tbyyda c,tbCsda d ",
         u"where a.f_Bmbm = b.f_Bmbm and a.f_Spbm = c.f_Yybm and a.f_Gysbm = d.f_Csbm and ",
         u"f_Gdrq >= '",
         u"@START",
         u"' and f_Gdrq <= '",
         u"@END",
         u"' ",
         u"@COND2",
         u" group by a.f_Spbm,c.f_Yymc",
     }},
    {u"明细",
     u"SQLSERVER",
     {
         u"select a.f_Hsdwh,e.f_Hsdwmc,a.f_Bmbm,f_Gjlx =case when  a.f_Gjlx ='0' then '入库' when "
         u"a.f_Gjlx ='1' then '直配' when a.f_gjlx in ('2','5','7','4','6') then '代配' when "
         u"a.f_gjlx ='8' then '退补' else '调整' end,",
         u"f_Rzrq = left(a.f_Rzrq,4) +'-' + substring(a.f_Rzrq,5,2) + '-'+ "
         u"right(a.f_Rzrq,2),a.f_Djh,a.f_Dnxh,",
         u"f_Gdrq = left(a.f_Gdrq,4) + '-'+ substring(a.f_Gdrq,5,2) +'-' + right(a.f_Gdrq,2),",
         u"a.f_Spbm,a.f_Gysbm,a.f_Gjje,a.f_Ygsl,a.f_Ygws,a.f_Ygje,a.f_Fptjdh,a.f_Gdrbm,a.f_Gdrmc,b."
         u"f_Bmmc,c.f_Spmc,d.f_Csmc,a.f_djbz ",
         u"from tb",
         u"@PERIOD",
         u"_Ygys a,tbBmda b,tbSpda c,tbCsda d,tbhsdwda e ",
         u"where a.f_Bmbm = b.f_Bmbm and a.f_Spbm = c.f_Spbm and a.f_Gysbm = d.f_Csbm ",
         u"and a.f_Hsdwh = e.f_Hsdwh ",
         u"and f_Gdrq >= '",
         u"@START",
         u"' and f_Gdrq <= '",
         u"@END",
         u"' and a.f_Gjlx <> '9' ",
         u"@COND",
         u" union all ",
         u"select a.f_Hsdwh,e.f_Hsdwmc,a.f_Bmbm,f_Gjlx =case when  a.f_Gjlx ='0' then '入库' when "
         u"a.f_Gjlx ='1' then '直配' when a.f_gjlx in ('2','5','7','4','6') then '代配' when "
         u"a.f_gjlx ='8' then '退补' else '调整' end,",
         u"f_Rzrq = left(a.f_Rzrq,4) +'-' + substring(a.f_Rzrq,5,2) + '-'+ "
         u"right(a.f_Rzrq,2),a.f_Djh,a.f_Dnxh,",
         u"f_Gdrq = left(a.f_Gdrq,4) + '-'+ substring(a.f_Gdrq,5,2) +'-' + right(a.f_Gdrq,2),",
         u"a.f_Spbm,a.f_Gysbm,a.f_Gjje,a.f_Ygsl,a.f_Ygws,a.f_Ygje,a.f_Fptjdh,a.f_Gdrbm,a.f_Gdrmc,b."
         u"f_Bmmc,c.f_Yymc f_Spmc,d.f_Csmc,a.f_djbz ",
         u"from tb",
         u"@PERIOD",
         u"_Ygys a,tbBmda b,tbYyda c,tbCsda d ,tbhsdwda e ",
         u"where a.f_Bmbm = b.f_Bmbm and a.f_Spbm = c.f_Yybm and a.f_Gysbm = d.f_Csbm ",
         u"and a.f_Hsdwh = e.f_Hsdwh ",
         u"and f_Gdrq >= '",
         u"@START",
         u"' and f_Gdrq <= '",
         u"@END",
         u"' and a.f_Gjlx = '9' ",
         u"@COND2",
     }},
    {u"明细",
     u"DB2",
     {
         u"select a.f_Hsdwh,e.f_Hsdwmc,a.f_Bmbm,case when  a.f_Gjlx ='0' then '入库' when a.f_Gjlx "
         u"='1' then '直配' when a.f_gjlx in ('2','5','7','4','6') then '代配' when a.f_gjlx ='8' "
         u"then '退补' else '调整' end f_Gjlx,",
         u"cast(left(a.f_Rzrq,4)||'-'||substr(a.f_Rzrq,5,2)||'-'||right(a.f_Rzrq,2) as char(10)) "
         u"f_Rzrq,a.f_Djh,a.f_Dnxh,",
         u"cast(left(a.f_Gdrq,4)||'-'||substr(a.f_Gdrq,5,2)||'-'||right(a.f_Gdrq,2) as char(10)) "
         u"f_Gdrq,",
         u"a.f_Spbm,a.f_Gysbm,round(a.f_Gjje,2) f_Gjje,round(a.f_Ygsl,2) f_Ygsl,round(a.f_Ygws,2) "
         u"f_Ygws,",
         u"round(a.f_Ygje,2) "
         u"f_Ygje,a.f_Fptjdh,a.f_Gdrbm,a.f_Gdrmc,b.f_Bmmc,c.f_Spmc,d.f_Csmc,a.f_djbz ",
         u"from tb",
         u"@PERIOD",
         u"_Ygys a,tbBmda b,tbSpda c,tbCsda d,tbHsdwda e  ",
         u"where a.f_Bmbm = b.f_Bmbm and a.f_Spbm = c.f_Spbm and a.f_Gysbm = d.f_Csbm ",
         u"and a.f_Hsdwh = e.f_Hsdwh ",
         u"and f_Gdrq >= '",
         u"@START",
         u"' and f_Gdrq <= '",
         u"@END",
         u"' and a.f_Gjlx <> '9' ",
         u"@COND",
         u" union all ",
         u"select a.f_Hsdwh,e.f_Hsdwmc,a.f_Bmbm,case when  a.f_Gjlx ='0' then '入库' when a.f_Gjlx "
         u"='1' then '直配' when a.f_gjlx in ('2','5','7','4','6') then '代配' when a.f_gjlx ='8' "
         u"then '退补' else '调整' end f_Gjlx,",
         u"cast(left(a.f_Rzrq,4)||'-'||substr(a.f_Rzrq,5,2)||'-'||right(a.f_Rzrq,2) as char(10)) "
         u"f_Rzrq,a.f_Djh,a.f_Dnxh,",
         u"cast(left(a.f_Gdrq,4)||'-'||substr(a.f_Gdrq,5,2)||'-'||right(a.f_Gdrq,2) as char(10)) "
         u"f_Gdrq,",
         u"a.f_Spbm,a.f_Gysbm,round(a.f_Gjje,2) f_Gjje,a.f_Ygsl,round(a.f_Ygws,2) "
         u"f_Ygws,round(a.f_Ygje,2) f_Ygje,",
         u"a.f_Fptjdh,a.f_Gdrbm,a.f_Gdrmc,b.f_Bmmc,c.f_Yymc f_Spmc,d.f_Csmc,a.f_djbz ",
         u"from tb",
         u"@PERIOD",
         u"_Ygys a,tbBmda b,tbYyda c,tbCsda d,tbHsdwda e ",
         u"where a.f_Bmbm = b.f_Bmbm and a.f_Spbm = c.f_Yybm and a.f_Gysbm = d.f_Csbm ",
         u"and a.f_Hsdwh = e.f_Hsdwh ",
         u"and f_Gdrq >= '",
         u"@START",
         u"' and f_Gdrq <= '",
         u"@END",
         u"' and a.f_Gjlx = '9' ",
         u"@COND2",
     }},
    {u"提交单汇总",
     u"SQLSERVER",
     {
         u"select f_Gdrq = left(a.f_Gdrq,4) + '-'+ substring(a.f_Gdrq,5,2) +'-' + "
         u"right(a.f_Gdrq,2),",
         u"a.f_Gysbm,sum(a.f_Gjje) f_Gjje,sum(a.f_Ygsl) f_Ygsl,sum(a.f_Ygws) f_Ygws,sum(a.f_Ygje) "
         u"f_Ygje,",
         u"a.f_Fptjdh,a.f_Gdrbm,a.f_Gdrmc,d.f_Csmc,",
         u"f_Bz =(select top 1 f_Bz from tb",
         u"@PERIOD",
         u"_Fptjdzb where f_Hsdwh = a.f_hsdwh  And f_Djh = a.f_Fptjdh),",
         u"f_Fpje =(select sum(f_Fpje) from tb",
         u"@PERIOD",
         u"_Fptjdcb where f_Djh = a.f_Fptjdh) ",
         u"from tb",
         u"@PERIOD",
         u"_Ygys a,tbBmda b, tbCsda d ",
         u"where a.f_Bmbm = b.f_Bmbm and a.f_Gysbm = d.f_Csbm and ",
         u"f_Gdrq >= '",
         u"@START",
         u"' and f_Gdrq <= '",
         u"@END",
         u"' ",
         u"@COND",
         u" group by a.f_Gdrq,a.f_Gysbm,a.f_Fptjdh,a.f_Gdrbm,a.f_Gdrmc,d.f_Csmc,a.f_hsdwh",
     }},
    {u"提交单汇总",
     u"DB2",
     {
         u"select cast(left(a.f_Gdrq,4)||'-'||substr(a.f_Gdrq,5,2)||'-'||right(a.f_Gdrq,2) as "
         u"char(10)) f_Gdrq,",
         u"a.f_Gysbm,sum(round(a.f_Gjje,2)) f_Gjje,sum(round(a.f_Ygsl,2)) "
         u"f_Ygsl,sum(round(a.f_Ygws,2)) f_Ygws,sum(round(a.f_Ygje,2)) f_Ygje,",
         u"a.f_Fptjdh,a.f_Gdrbm,a.f_Gdrmc,d.f_Csmc,",
         u"(select f_Bz from tb",
         u"@PERIOD",
         u"_Fptjdzb where f_Hsdwh = a.f_hsdwh and f_Djh = a.f_Fptjdh fetch first 1 rows only) "
         u"f_Bz,",
         u"(select sum(round(f_Fpje,2)) from tb",
         u"@PERIOD",
         u"_Fptjdcb where f_Djh = a.f_Fptjdh) f_Fpje ",
         u"from tb",
         u"@PERIOD",
         u"_Ygys a,tbBmda b, tbCsda d ",
         u"where a.f_Bmbm = b.f_Bmbm and a.f_Gysbm = d.f_Csbm and ",
         u"f_Gdrq >= '",
         u"@START",
         u"' and f_Gdrq <= '",
         u"@END",
         u"' ",
         u"@COND",
         u" group by a.f_Gdrq,a.f_Gysbm,a.f_Fptjdh,a.f_Gdrbm,a.f_Gdrmc,d.f_Csmc,a.f_hsdwh",
     }},
};

const ViewText* findText(const QString& view, const QString& kind) {
    for (const ViewText& t : kTexts) {
        const QString tKind = QString::fromUtf16(t.kind);
        if (QString::fromUtf16(t.view) == view && (tKind.isEmpty() || tKind == kind))
            return &t;
    }
    return nullptr;
}

// The statement as the screen must send it, assembled step by step.
QString expectedStatement(const QString& view, const QString& kind, const QDate& start,
                          const QDate& end, const QString& condition, const QString& operatorCode) {
    const ViewText* text = findText(view, kind);
    if (!text)
        return {};
    QString op = operatorCode;
    op.replace(u"'"_qs, u"''"_qs);
    QString where = condition;
    if (!where.isEmpty())
        where += u" and "_qs;
    where += u" (not exists(select * from tbzyfghsdw where f_zybm ='"_qs + op + u"') "_qs;
    where += u"   or exists( select * from tbzyfghsdw where f_zybm ='"_qs + op +
             u"' and f_hsdwh = a.f_hsdwh)) "_qs;
    QString where2 = where;
    while (where2.contains(u"f_Spmc"_qs))
        where2.replace(where2.indexOf(u"f_Spmc"_qs), 6, u"f_yymc"_qs);
    const QString cond = where.isEmpty() ? QString() : u" and ("_qs + where + u")"_qs;
    const QString cond2 = where2.trimmed().isEmpty() ? QString() : u" and ("_qs + where2 + u")"_qs;

    QString sql;
    int y = start.year(), m = start.month();
    while (y * 100 + m <= end.year() * 100 + end.month()) {
        const QString period = QString::number(y * 100 + m);
        if (!sql.isEmpty())
            sql += u" union all "_qs;
        sql += u' ';
        for (const char16_t* p : text->pieces) {
            const QString piece = QString::fromUtf16(p);
            if (piece == u"@PERIOD"_qs)
                sql += period;
            else if (piece == u"@START"_qs)
                sql += start.toString(u"yyyyMMdd"_qs);
            else if (piece == u"@END"_qs)
                sql += end.toString(u"yyyyMMdd"_qs);
            else if (piece == u"@COND"_qs)
                sql += cond;
            else if (piece == u"@COND2"_qs)
                sql += cond2;
            else
                sql += piece;
        }
        if (++m > 12) {
            m = 1;
            ++y;
        }
    }
    return sql;
}

QueryStatementRequest request(QueryView view, const QString& kind, QDate start, QDate end,
                              const QString& condition, const QString& op) {
    QueryStatementRequest r;
    r.view = view;
    r.dbKind = kind;
    r.start = start;
    r.end = end;
    r.condition = condition;
    r.operatorCode = op;
    return r;
}

} // namespace

class tst_QueryStatementBuilder : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void statements_data();
    void statements();
    void unknownKind_data();
    void unknownKind();
    void operatorCodeQuotes();
    void itemNameConditionOnlyInTypeNineLines();
    void unusableRange();
};

void tst_QueryStatementBuilder::statements_data() {
    QTest::addColumn<int>("view");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QDate>("end");
    QTest::addColumn<QString>("condition");
    QTest::addColumn<int>("months");

    struct Range {
        const char* name;
        QDate start, end;
        int months;
    };
    const Range ranges[] = {
        {"one month", QDate(2005, 3, 3), QDate(2005, 3, 20), 1},
        {"three months", QDate(2005, 1, 15), QDate(2005, 3, 10), 3},
        {"over new year", QDate(2004, 12, 20), QDate(2005, 1, 5), 2},
    };
    const QString conditions[] = {
        QString(),
        u"( d.f_Csmc LIKE '%食品%' ) AND ( c.f_Spmc LIKE '%米%' OR a.f_Dnxh >= 2 )"_qs,
    };
    for (int v = 0; v < kestrane::query::kQueryViewCount; ++v) {
        for (const char* kind : {"SQLSERVER", "DB2"}) {
            for (const Range& r : ranges) {
                for (const QString& c : conditions) {
                    QTest::addRow("%s %s %s %s",
                                  qPrintable(QueryStatementBuilder::viewName(QueryView(v))), kind,
                                  r.name, c.isEmpty() ? "no condition" : "condition")
                        << v << QString::fromLatin1(kind) << r.start << r.end << c << r.months;
                }
            }
        }
    }
}

void tst_QueryStatementBuilder::statements() {
    QFETCH(int, view);
    QFETCH(QString, kind);
    QFETCH(QDate, start);
    QFETCH(QDate, end);
    QFETCH(QString, condition);
    QFETCH(int, months);

    const QString viewName = QueryStatementBuilder::viewName(QueryView(view));
    const QString expected = expectedStatement(viewName, kind, start, end, condition, u"0001"_qs);
    QVERIFY(!expected.isEmpty());
    const QString actual = QueryStatementBuilder::build(
        request(QueryView(view), kind, start, end, condition, u"0001"_qs));
    if (actual != expected) {
        int i = 0;
        while (i < actual.size() && i < expected.size() && actual[i] == expected[i])
            ++i;
        qWarning("first difference at %d:\n actual:   %s\n expected: %s", i,
                 qPrintable(actual.mid(qMax(0, i - 40), 100)),
                 qPrintable(expected.mid(qMax(0, i - 40), 100)));
    }
    QCOMPARE(actual, expected);
    // Every month of the range appears, and no other.
    for (int m = 0; m < months; ++m) {
        const QDate month = QDate(start.year(), start.month(), 1).addMonths(m);
        QVERIFY2(actual.contains(u"from tb"_qs + month.toString(u"yyyyMM"_qs) + u"_"_qs),
                 qPrintable(month.toString()));
    }
    QVERIFY(!actual.contains(
        u"from tb"_qs + QDate(end.year(), end.month(), 1).addMonths(1).toString(u"yyyyMM"_qs)));
    QVERIFY(actual.startsWith(u" select "_qs));
}

void tst_QueryStatementBuilder::unknownKind_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("ORACLE") << u"ORACLE"_qs;
    QTest::newRow("lower case") << u"sqlserver"_qs;
    QTest::newRow("padded") << u"DB2 "_qs;
    QTest::newRow("empty") << QString();
}

void tst_QueryStatementBuilder::unknownKind() {
    QFETCH(QString, kind);
    const QDate start(2005, 1, 15), end(2005, 3, 10);
    for (int v = 0; v < kestrane::query::kQueryViewCount; ++v) {
        const QueryView view = QueryView(v);
        const QString sql =
            QueryStatementBuilder::build(request(view, kind, start, end, {}, u"0001"_qs));
        const bool kindFree = view == QueryView::Suppliers || view == QueryView::Departments ||
                              view == QueryView::Items;
        QCOMPARE(QueryStatementBuilder::hasStatement(view, kind), kindFree);
        if (kindFree) {
            QCOMPARE(sql, expectedStatement(QueryStatementBuilder::viewName(view), kind, start, end,
                                            {}, u"0001"_qs));
        } else {
            QVERIFY2(sql.isEmpty(), qPrintable(sql));
        }
    }
}

void tst_QueryStatementBuilder::operatorCodeQuotes() {
    // An operator code is text from the host's sign-on; a quote in it must stay inside the
    // literal instead of closing it.
    const QString code = u"x' or '1'='1"_qs;
    const QString sql = QueryStatementBuilder::build(
        request(QueryView::Departments, u"DB2"_qs, QDate(2005, 3, 1), QDate(2005, 3, 2), {}, code));
    QCOMPARE(sql, expectedStatement(u"部门汇总"_qs, u"DB2"_qs, QDate(2005, 3, 1), QDate(2005, 3, 2),
                                    {}, code));
    QCOMPARE(sql.count(u"f_zybm ='x'' or ''1''=''1'"_qs), 2);
    QCOMPARE(sql.count(u'\'') % 2, 0);

    QCOMPARE(QueryStatementBuilder::operatorNameStatement(u"A'B"_qs),
             u"select f_zymc from tbzyda where f_zybm='A''B'"_qs);
    QCOMPARE(QueryStatementBuilder::operatorNameStatement(u"0001"_qs),
             u"select f_zymc from tbzyda where f_zybm='0001'"_qs);
    QCOMPARE(QueryStatementBuilder::templateListStatement(),
             u"select * from tbReport where f_sortname='已勾验收单'"_qs);
}

void tst_QueryStatementBuilder::itemNameConditionOnlyInTypeNineLines() {
    const QString condition = u"( c.f_Spmc = '大米' )"_qs;
    for (QueryView view : {QueryView::Documents, QueryView::Items, QueryView::Details}) {
        const QString sql = QueryStatementBuilder::build(request(
            view, u"SQLSERVER"_qs, QDate(2005, 3, 1), QDate(2005, 3, 31), condition, u"0001"_qs));
        const qsizetype secondLine = sql.indexOf(u"union all"_qs);
        QVERIFY(secondLine > 0);
        QVERIFY(sql.left(secondLine).contains(u"( c.f_Spmc = '大米' )"_qs));
        QVERIFY(!sql.left(secondLine).contains(u"f_yymc = '大米'"_qs));
        QVERIFY(sql.mid(secondLine).contains(u"( c.f_yymc = '大米' )"_qs));
        QVERIFY(!sql.mid(secondLine).contains(u"f_Spmc = '大米'"_qs));
    }
    QCOMPARE(QueryStatementBuilder::purchaseType9Where(u"f_Spmcf_Spmc f_spmc"_qs),
             u"f_yymcf_yymc f_spmc"_qs);
    // With no user condition WHERE is the permission clause alone, without a leading " and ".
    QVERIFY(QueryStatementBuilder::whereText({}, u"7"_qs).startsWith(u" (not exists"_qs));
}

void tst_QueryStatementBuilder::unusableRange() {
    QVERIFY(QueryStatementBuilder::build(request(QueryView::Suppliers, u"DB2"_qs, QDate(2005, 4, 1),
                                                 QDate(2005, 3, 1), {}, u"1"_qs))
                .isEmpty());
    QVERIFY(QueryStatementBuilder::build(
                request(QueryView::Suppliers, u"DB2"_qs, QDate(), QDate(2005, 3, 1), {}, u"1"_qs))
                .isEmpty());
}

QTEST_APPLESS_MAIN(tst_QueryStatementBuilder)
#include "tst_QueryStatementBuilder.moc"

#include "query/QueryStatementBuilder.h"

#include <QStringView>
#include <iterator>
#include <span>

namespace kestrane::query {

namespace {

// A statement is a list of pieces: literal text, or a slot filled while the month is added.
enum class Slot { Text, Period, Start, End, Cond, Cond2 };

struct Piece {
    Slot slot;
    const char16_t* text;
};

// The statement texts of the six views. The blanks at the ends of the pieces are part of the
// statements the host receives (its trace and the DBA's logs show them as they are), so the
// pieces are kept exactly as written, including doubled blanks and the mixed letter case of
// names.

// 单据汇总, SQLSERVER
const Piece kDocumentsSqlServer[] = {
    {Slot::Text,
     u"select a.f_Hsdwh,e.f_Hsdwmc,a.f_Fptjdh,a.f_Bmbm,f_Gjlx =case when  a.f_Gjlx ='0' then "
     u"'入库' when a.f_Gjlx ='1' then '直配' when a.f_gjlx in ('2','5','7','4','6') then '代配' "
     u"when a.f_gjlx ='8' then '退补' else '调整' end,"},
    {Slot::Text,
     u"f_Rzrq = left(a.f_Rzrq,4) +'-' + substring(a.f_Rzrq,5,2) + '-'+ right(a.f_Rzrq,2),a.f_Djh,"},
    {Slot::Text,
     u"f_Gdrq = left(a.f_Gdrq,4) + '-'+ substring(a.f_Gdrq,5,2) +'-' + right(a.f_Gdrq,2),"},
    {Slot::Text, u"a.f_Gysbm,sum(a.f_Gjje) f_Gjje,sum(f_Ygsl) f_Ygsl,sum(f_Ygws) "
                 u"f_Ygws,sum(a.f_Ygje) f_Ygje,a.f_Gdrbm,a.f_Gdrmc,b.f_Bmmc,d.f_Csmc "},
    {Slot::Text, u"from tb"},
    {Slot::Period, nullptr},
    {Slot::Text, u"_YGys a,tbBmda b,tbSpda c,tbCsda d,tbHsdwda e "},
    {Slot::Text, u"where a.f_Bmbm = b.f_Bmbm "},
    {Slot::Text, u"and a.f_Spbm = c.f_Spbm "},
    {Slot::Text, u"and a.f_Gysbm = d.f_Csbm "},
    {Slot::Text, u"and a.f_Hsdwh = e.f_Hsdwh "},
    {Slot::Text, u"and f_Gdrq >= '"},
    {Slot::Start, nullptr},
    {Slot::Text, u"' "},
    {Slot::Text, u"and f_Gdrq <= '"},
    {Slot::End, nullptr},
    {Slot::Text, u"' "},
    {Slot::Text, u"and f_Gjlx <> '9' "},
    {Slot::Cond, nullptr},
    {Slot::Text, u" group by "
                 u"a.f_Hsdwh,e.f_Hsdwmc,a.f_Bmbm,a.f_Gjlx,a.f_Rzrq,a.f_Gdrq,a.f_Gysbm,a.f_Gdrbm,a."
                 u"f_Gdrmc,b.f_Bmmc,"},
    {Slot::Text, u"d.f_Csmc,a.f_Djh,a.f_Fptjdh "},
    {Slot::Text, u"union all "},
    {Slot::Text,
     u"select a.f_Hsdwh,e.f_Hsdwmc,a.f_Fptjdh,a.f_Bmbm,f_Gjlx =case when  a.f_Gjlx ='0' then "
     u"'入库' when a.f_Gjlx ='1' then '直配' when a.f_gjlx in ('2','5','7','4','6') then '代配' "
     u"when a.f_gjlx ='8' then '退补' else '调整' end,"},
    {Slot::Text,
     u"f_Rzrq = left(a.f_Rzrq,4) +'-' + substring(a.f_Rzrq,5,2) + '-'+ right(a.f_Rzrq,2),a.f_Djh,"},
    {Slot::Text,
     u"f_Gdrq = left(a.f_Gdrq,4) + '-'+ substring(a.f_Gdrq,5,2) +'-' + right(a.f_Gdrq,2),"},
    {Slot::Text, u"a.f_Gysbm,sum(a.f_Gjje) f_Gjje,sum(f_Ygsl) f_Ygsl,sum(f_Ygws) "
                 u"f_Ygws,sum(a.f_Ygje) f_Ygje,a.f_Gdrbm,a.f_Gdrmc,b.f_Bmmc,d.f_Csmc "},
    {Slot::Text, u"from tb"},
    {Slot::Period, nullptr},
    {Slot::Text, u"_YGys a,tbBmda b,tbYyda c,tbCsda d , tbHsdwda e "},
    {Slot::Text, u"where a.f_Bmbm = b.f_Bmbm "},
    {Slot::Text, u"and a.f_Spbm = c.f_Yybm "},
    {Slot::Text, u"and a.f_Gysbm = d.f_Csbm "},
    {Slot::Text, u"and a.f_Hsdwh = e.f_Hsdwh "},
    {Slot::Text, u"and f_Gdrq >= '"},
    {Slot::Start, nullptr},
    {Slot::Text, u"' "},
    {Slot::Text, u"and f_Gdrq <= '"},
    {Slot::End, nullptr},
    {Slot::Text, u"' "},
    {Slot::Text, u"and f_Gjlx = '9' "},
    {Slot::Cond2, nullptr},
    {Slot::Text, u" group by "
                 u"a.f_Hsdwh,e.f_Hsdwmc,a.f_Bmbm,a.f_Gjlx,a.f_Rzrq,a.f_Gdrq,a.f_Gysbm,a.f_Gdrbm,a."
                 u"f_Gdrmc,b.f_Bmmc,"},
    {Slot::Text, u"d.f_Csmc,a.f_Djh,a.f_Fptjdh"},
};

// 单据汇总, DB2
const Piece kDocumentsDb2[] = {
    {Slot::Text, u"select a.f_Hsdwh,e.f_Hsdwmc,a.f_Fptjdh,a.f_Bmbm,case when  a.f_Gjlx ='0' then "
                 u"'入库' when a.f_Gjlx ='1' then '直配' when a.f_gjlx in ('2','5','7','4','6') "
                 u"then '代配' when a.f_gjlx ='8' then '退补' else '调整' end f_Gjlx,"},
    {Slot::Text, u"cast(left(a.f_Rzrq,4)||'-'||substr(a.f_Rzrq,5,2)||'-'||right(a.f_Rzrq,2) as "
                 u"char(10)) f_Rzrq,a.f_Djh,"},
    {Slot::Text, u"cast(left(a.f_Gdrq,4)||'-'||substr(a.f_Gdrq,5,2)||'-'||right(a.f_Gdrq,2) as "
                 u"char(10)) f_Gdrq,"},
    {Slot::Text,
     u"a.f_Gysbm,sum(round(a.f_Gjje,2)) f_Gjje,sum(round(f_Ygsl,2)) f_Ygsl,sum(round(f_Ygws,2)) "
     u"f_Ygws,sum(round(a.f_Ygje,2)) f_Ygje,a.f_Gdrbm,a.f_Gdrmc,b.f_Bmmc,d.f_Csmc "},
    {Slot::Text, u"from tb"},
    {Slot::Period, nullptr},
    {Slot::Text, u"_YGys a,tbBmda b,tbSpda c,tbCsda d,tbHsdwda e "},
    {Slot::Text, u"where a.f_Bmbm = b.f_Bmbm "},
    {Slot::Text, u"and a.f_Spbm = c.f_Spbm "},
    {Slot::Text, u"and a.f_Gysbm = d.f_Csbm "},
    {Slot::Text, u"and a.f_Hsdwh = e.f_Hsdwh "},
    {Slot::Text, u"and f_Gdrq >= '"},
    {Slot::Start, nullptr},
    {Slot::Text, u"' "},
    {Slot::Text, u"and f_Gdrq <= '"},
    {Slot::End, nullptr},
    {Slot::Text, u"' "},
    {Slot::Text, u"and f_Gjlx <> '9' "},
    {Slot::Cond, nullptr},
    {Slot::Text, u" group by "
                 u"a.f_Hsdwh,e.f_Hsdwmc,a.f_Bmbm,a.f_Gjlx,a.f_Rzrq,a.f_Gdrq,a.f_Gysbm,a.f_Gdrbm,a."
                 u"f_Gdrmc,b.f_Bmmc,"},
    {Slot::Text, u"d.f_Csmc,a.f_Djh,a.f_Fptjdh "},
    {Slot::Text, u"union all "},
    {Slot::Text, u"select a.f_Hsdwh,e.f_Hsdwmc,a.f_Fptjdh,a.f_Bmbm,case when  a.f_Gjlx ='0' then "
                 u"'入库' when a.f_Gjlx ='1' then '直配' when a.f_gjlx in ('2','5','7','4','6') "
                 u"then '代配' when a.f_gjlx ='8' then '退补' else '调整' end f_Gjlx,"},
    {Slot::Text, u"cast(left(a.f_Rzrq,4)||'-'||substr(a.f_Rzrq,5,2)||'-'||right(a.f_Rzrq,2) as "
                 u"char(10)) f_Rzrq,a.f_Djh,"},
    {Slot::Text, u"cast(left(a.f_Gdrq,4)||'-'||substr(a.f_Gdrq,5,2)||'-'||right(a.f_Gdrq,2) as "
                 u"char(10)) f_Gdrq,"},
    {Slot::Text,
     u"a.f_Gysbm,sum(round(a.f_Gjje,2)) f_Gjje,sum(round(f_Ygsl,2)) f_Ygsl,sum(round(f_Ygws,2)) "
     u"f_Ygws,sum(round(a.f_Ygje,2)) f_Ygje,a.f_Gdrbm,a.f_Gdrmc,b.f_Bmmc,d.f_Csmc "},
    {Slot::Text, u"from tb"},
    {Slot::Period, nullptr},
    {Slot::Text, u"_YGys a,tbBmda b,tbYyda c,tbCsda d,tbhsdwda e "},
    {Slot::Text, u"where a.f_Bmbm = b.f_Bmbm and a.f_Spbm = c.f_Yybm and a.f_Gysbm = d.f_Csbm "},
    {Slot::Text, u"and a.f_Hsdwh = e.f_Hsdwh "},
    {Slot::Text, u"and f_Gdrq >= '"},
    {Slot::Start, nullptr},
    {Slot::Text, u"' and f_Gdrq <= '"},
    {Slot::End, nullptr},
    {Slot::Text, u"' and f_Gjlx = '9' "},
    {Slot::Cond2, nullptr},
    {Slot::Text, u" group by "
                 u"a.f_Hsdwh,e.f_Hsdwmc,a.f_Bmbm,a.f_Gjlx,a.f_Rzrq,a.f_Gdrq,a.f_Gysbm,a.f_Gdrbm,a."
                 u"f_Gdrmc,b.f_Bmmc,"},
    {Slot::Text, u"d.f_Csmc,a.f_Djh,a.f_Fptjdh"},
};

// 厂商汇总, ANY
const Piece kSuppliers[] = {
    {Slot::Text, u"select a.f_Gysbm,d.f_Csmc,sum(round(f_Gjje,2)) f_Gjje,sum(round(f_Ygsl,2)) "
                 u"f_Ygsl,sum(round(f_Ygws,2)) f_Ygws,sum(round(f_Ygje,2)) f_Ygje "},
    {Slot::Text, u"from tb"},
    {Slot::Period, nullptr},
    {Slot::Text, u"_Ygys a left join tbspda c on a.f_Spbm = c.f_Spbm,tbBmda b,tbCsda d "},
    {Slot::Text, u"where a.f_Bmbm = b.f_Bmbm and a.f_Gysbm = d.f_Csbm and "},
    {Slot::Text, u"f_Gdrq >= '"},
    {Slot::Start, nullptr},
    {Slot::Text, u"' and f_Gdrq <= '"},
    {Slot::End, nullptr},
    {Slot::Text, u"' "},
    {Slot::Cond, nullptr},
    {Slot::Text, u" group by a.f_Gysbm,d.f_Csmc"},
};

// 部门汇总, ANY
const Piece kDepartments[] = {
    {Slot::Text, u"select a.f_Bmbm,b.f_Bmmc,sum(round(f_Gjje,2)) f_Gjje,sum(round(f_Ygsl,2)) "
                 u"f_Ygsl,sum(round(f_Ygws,2)) f_Ygws,sum(round(f_Ygje,2)) f_Ygje "},
    {Slot::Text, u"from tb"},
    {Slot::Period, nullptr},
    {Slot::Text, u"_Ygys a left join tbspda c on a.f_Spbm = c.f_Spbm,tbBmda b,tbCsda d "},
    {Slot::Text, u"where a.f_Bmbm = b.f_Bmbm and a.f_Gysbm = d.f_Csbm and "},
    {Slot::Text, u"f_Gdrq >= '"},
    {Slot::Start, nullptr},
    {Slot::Text, u"' and f_Gdrq <= '"},
    {Slot::End, nullptr},
    {Slot::Text, u"' "},
    {Slot::Cond, nullptr},
    {Slot::Text, u" group by a.f_Bmbm,b.f_Bmmc"},
};

// 商品汇总, ANY
const Piece kItems[] = {
    {Slot::Text, u"select a.f_Spbm,c.f_Spmc,sum(round(f_Gjje,2)) f_Gjje,sum(round(f_Ygsl,2)) "
                 u"f_Ygsl,sum(round(f_Ygws,2)) f_Ygws,sum(round(f_Ygje,2)) f_Ygje "},
    {Slot::Text, u"from tb"},
    {Slot::Period, nullptr},
    {Slot::Text, u"_Ygys a,tbBmda b,tbSpda c,tbCsda d "},
    {Slot::Text,
     u"where  a.f_Bmbm = b.f_Bmbm and a.f_Spbm = c.f_Spbm and a.f_Gysbm = d.f_Csbm and "},
    {Slot::Text, u"f_Gdrq >= '"},
    {Slot::Start, nullptr},
    {Slot::Text, u"' and f_Gdrq <= '"},
    {Slot::End, nullptr},
    {Slot::Text, u"' "},
    {Slot::Cond, nullptr},
    {Slot::Text, u" group by a.f_Spbm,c.f_Spmc "},
    {Slot::Text, u"union all "},
    {Slot::Text,
     u"select a.f_Spbm,c.f_yymc f_spmc,sum(round(f_Gjje,2)) f_Gjje,sum(round(f_Ygsl,2)) "
     u"f_Ygsl,sum(round(f_Ygws,2)) f_Ygws,sum(round(f_Ygje,2)) f_Ygje "},
    {Slot::Text, u"from tb"},
    {Slot::Period, nullptr},
    {Slot::Text, u"_Ygys a,tbBmda b,tbyyda c,tbCsda d "},
    {Slot::Text,
     u"where a.f_Bmbm = b.f_Bmbm and a.f_Spbm = c.f_Yybm and a.f_Gysbm = d.f_Csbm and "},
    {Slot::Text, u"f_Gdrq >= '"},
    {Slot::Start, nullptr},
    {Slot::Text, u"' and f_Gdrq <= '"},
    {Slot::End, nullptr},
    {Slot::Text, u"' "},
    {Slot::Cond2, nullptr},
    {Slot::Text, u" group by a.f_Spbm,c.f_Yymc"},
};

// 明细, SQLSERVER
const Piece kDetailsSqlServer[] = {
    {Slot::Text, u"select a.f_Hsdwh,e.f_Hsdwmc,a.f_Bmbm,f_Gjlx =case when  a.f_Gjlx ='0' then "
                 u"'入库' when a.f_Gjlx ='1' then '直配' when a.f_gjlx in ('2','5','7','4','6') "
                 u"then '代配' when a.f_gjlx ='8' then '退补' else '调整' end,"},
    {Slot::Text, u"f_Rzrq = left(a.f_Rzrq,4) +'-' + substring(a.f_Rzrq,5,2) + '-'+ "
                 u"right(a.f_Rzrq,2),a.f_Djh,a.f_Dnxh,"},
    {Slot::Text,
     u"f_Gdrq = left(a.f_Gdrq,4) + '-'+ substring(a.f_Gdrq,5,2) +'-' + right(a.f_Gdrq,2),"},
    {Slot::Text, u"a.f_Spbm,a.f_Gysbm,a.f_Gjje,a.f_Ygsl,a.f_Ygws,a.f_Ygje,a.f_Fptjdh,a.f_Gdrbm,a.f_"
                 u"Gdrmc,b.f_Bmmc,c.f_Spmc,d.f_Csmc,a.f_djbz "},
    {Slot::Text, u"from tb"},
    {Slot::Period, nullptr},
    {Slot::Text, u"_Ygys a,tbBmda b,tbSpda c,tbCsda d,tbhsdwda e "},
    {Slot::Text, u"where a.f_Bmbm = b.f_Bmbm and a.f_Spbm = c.f_Spbm and a.f_Gysbm = d.f_Csbm "},
    {Slot::Text, u"and a.f_Hsdwh = e.f_Hsdwh "},
    {Slot::Text, u"and f_Gdrq >= '"},
    {Slot::Start, nullptr},
    {Slot::Text, u"' and f_Gdrq <= '"},
    {Slot::End, nullptr},
    {Slot::Text, u"' and a.f_Gjlx <> '9' "},
    {Slot::Cond, nullptr},
    {Slot::Text, u" union all "},
    {Slot::Text, u"select a.f_Hsdwh,e.f_Hsdwmc,a.f_Bmbm,f_Gjlx =case when  a.f_Gjlx ='0' then "
                 u"'入库' when a.f_Gjlx ='1' then '直配' when a.f_gjlx in ('2','5','7','4','6') "
                 u"then '代配' when a.f_gjlx ='8' then '退补' else '调整' end,"},
    {Slot::Text, u"f_Rzrq = left(a.f_Rzrq,4) +'-' + substring(a.f_Rzrq,5,2) + '-'+ "
                 u"right(a.f_Rzrq,2),a.f_Djh,a.f_Dnxh,"},
    {Slot::Text,
     u"f_Gdrq = left(a.f_Gdrq,4) + '-'+ substring(a.f_Gdrq,5,2) +'-' + right(a.f_Gdrq,2),"},
    {Slot::Text, u"a.f_Spbm,a.f_Gysbm,a.f_Gjje,a.f_Ygsl,a.f_Ygws,a.f_Ygje,a.f_Fptjdh,a.f_Gdrbm,a.f_"
                 u"Gdrmc,b.f_Bmmc,c.f_Yymc f_Spmc,d.f_Csmc,a.f_djbz "},
    {Slot::Text, u"from tb"},
    {Slot::Period, nullptr},
    {Slot::Text, u"_Ygys a,tbBmda b,tbYyda c,tbCsda d ,tbhsdwda e "},
    {Slot::Text, u"where a.f_Bmbm = b.f_Bmbm and a.f_Spbm = c.f_Yybm and a.f_Gysbm = d.f_Csbm "},
    {Slot::Text, u"and a.f_Hsdwh = e.f_Hsdwh "},
    {Slot::Text, u"and f_Gdrq >= '"},
    {Slot::Start, nullptr},
    {Slot::Text, u"' and f_Gdrq <= '"},
    {Slot::End, nullptr},
    {Slot::Text, u"' and a.f_Gjlx = '9' "},
    {Slot::Cond2, nullptr},
};

// 明细, DB2
const Piece kDetailsDb2[] = {
    {Slot::Text, u"select a.f_Hsdwh,e.f_Hsdwmc,a.f_Bmbm,case when  a.f_Gjlx ='0' then '入库' when "
                 u"a.f_Gjlx ='1' then '直配' when a.f_gjlx in ('2','5','7','4','6') then '代配' "
                 u"when a.f_gjlx ='8' then '退补' else '调整' end f_Gjlx,"},
    {Slot::Text, u"cast(left(a.f_Rzrq,4)||'-'||substr(a.f_Rzrq,5,2)||'-'||right(a.f_Rzrq,2) as "
                 u"char(10)) f_Rzrq,a.f_Djh,a.f_Dnxh,"},
    {Slot::Text, u"cast(left(a.f_Gdrq,4)||'-'||substr(a.f_Gdrq,5,2)||'-'||right(a.f_Gdrq,2) as "
                 u"char(10)) f_Gdrq,"},
    {Slot::Text, u"a.f_Spbm,a.f_Gysbm,round(a.f_Gjje,2) f_Gjje,round(a.f_Ygsl,2) "
                 u"f_Ygsl,round(a.f_Ygws,2) f_Ygws,"},
    {Slot::Text, u"round(a.f_Ygje,2) "
                 u"f_Ygje,a.f_Fptjdh,a.f_Gdrbm,a.f_Gdrmc,b.f_Bmmc,c.f_Spmc,d.f_Csmc,a.f_djbz "},
    {Slot::Text, u"from tb"},
    {Slot::Period, nullptr},
    {Slot::Text, u"_Ygys a,tbBmda b,tbSpda c,tbCsda d,tbHsdwda e  "},
    {Slot::Text, u"where a.f_Bmbm = b.f_Bmbm and a.f_Spbm = c.f_Spbm and a.f_Gysbm = d.f_Csbm "},
    {Slot::Text, u"and a.f_Hsdwh = e.f_Hsdwh "},
    {Slot::Text, u"and f_Gdrq >= '"},
    {Slot::Start, nullptr},
    {Slot::Text, u"' and f_Gdrq <= '"},
    {Slot::End, nullptr},
    {Slot::Text, u"' and a.f_Gjlx <> '9' "},
    {Slot::Cond, nullptr},
    {Slot::Text, u" union all "},
    {Slot::Text, u"select a.f_Hsdwh,e.f_Hsdwmc,a.f_Bmbm,case when  a.f_Gjlx ='0' then '入库' when "
                 u"a.f_Gjlx ='1' then '直配' when a.f_gjlx in ('2','5','7','4','6') then '代配' "
                 u"when a.f_gjlx ='8' then '退补' else '调整' end f_Gjlx,"},
    {Slot::Text, u"cast(left(a.f_Rzrq,4)||'-'||substr(a.f_Rzrq,5,2)||'-'||right(a.f_Rzrq,2) as "
                 u"char(10)) f_Rzrq,a.f_Djh,a.f_Dnxh,"},
    {Slot::Text, u"cast(left(a.f_Gdrq,4)||'-'||substr(a.f_Gdrq,5,2)||'-'||right(a.f_Gdrq,2) as "
                 u"char(10)) f_Gdrq,"},
    {Slot::Text, u"a.f_Spbm,a.f_Gysbm,round(a.f_Gjje,2) f_Gjje,a.f_Ygsl,round(a.f_Ygws,2) "
                 u"f_Ygws,round(a.f_Ygje,2) f_Ygje,"},
    {Slot::Text, u"a.f_Fptjdh,a.f_Gdrbm,a.f_Gdrmc,b.f_Bmmc,c.f_Yymc f_Spmc,d.f_Csmc,a.f_djbz "},
    {Slot::Text, u"from tb"},
    {Slot::Period, nullptr},
    {Slot::Text, u"_Ygys a,tbBmda b,tbYyda c,tbCsda d,tbHsdwda e "},
    {Slot::Text, u"where a.f_Bmbm = b.f_Bmbm and a.f_Spbm = c.f_Yybm and a.f_Gysbm = d.f_Csbm "},
    {Slot::Text, u"and a.f_Hsdwh = e.f_Hsdwh "},
    {Slot::Text, u"and f_Gdrq >= '"},
    {Slot::Start, nullptr},
    {Slot::Text, u"' and f_Gdrq <= '"},
    {Slot::End, nullptr},
    {Slot::Text, u"' and a.f_Gjlx = '9' "},
    {Slot::Cond2, nullptr},
};

// 提交单汇总, SQLSERVER
const Piece kSubmissionsSqlServer[] = {
    {Slot::Text,
     u"select f_Gdrq = left(a.f_Gdrq,4) + '-'+ substring(a.f_Gdrq,5,2) +'-' + right(a.f_Gdrq,2),"},
    {Slot::Text, u"a.f_Gysbm,sum(a.f_Gjje) f_Gjje,sum(a.f_Ygsl) f_Ygsl,sum(a.f_Ygws) "
                 u"f_Ygws,sum(a.f_Ygje) f_Ygje,"},
    {Slot::Text, u"a.f_Fptjdh,a.f_Gdrbm,a.f_Gdrmc,d.f_Csmc,"},
    {Slot::Text, u"f_Bz =(select top 1 f_Bz from tb"},
    {Slot::Period, nullptr},
    {Slot::Text, u"_Fptjdzb where f_Hsdwh = a.f_hsdwh  And f_Djh = a.f_Fptjdh),"},
    {Slot::Text, u"f_Fpje =(select sum(f_Fpje) from tb"},
    {Slot::Period, nullptr},
    {Slot::Text, u"_Fptjdcb where f_Djh = a.f_Fptjdh) "},
    {Slot::Text, u"from tb"},
    {Slot::Period, nullptr},
    {Slot::Text, u"_Ygys a,tbBmda b, tbCsda d "},
    {Slot::Text, u"where a.f_Bmbm = b.f_Bmbm and a.f_Gysbm = d.f_Csbm and "},
    {Slot::Text, u"f_Gdrq >= '"},
    {Slot::Start, nullptr},
    {Slot::Text, u"' and f_Gdrq <= '"},
    {Slot::End, nullptr},
    {Slot::Text, u"' "},
    {Slot::Cond, nullptr},
    {Slot::Text, u" group by a.f_Gdrq,a.f_Gysbm,a.f_Fptjdh,a.f_Gdrbm,a.f_Gdrmc,d.f_Csmc,a.f_hsdwh"},
};

// 提交单汇总, DB2
const Piece kSubmissionsDb2[] = {
    {Slot::Text, u"select cast(left(a.f_Gdrq,4)||'-'||substr(a.f_Gdrq,5,2)||'-'||right(a.f_Gdrq,2) "
                 u"as char(10)) f_Gdrq,"},
    {Slot::Text, u"a.f_Gysbm,sum(round(a.f_Gjje,2)) f_Gjje,sum(round(a.f_Ygsl,2)) "
                 u"f_Ygsl,sum(round(a.f_Ygws,2)) f_Ygws,sum(round(a.f_Ygje,2)) f_Ygje,"},
    {Slot::Text, u"a.f_Fptjdh,a.f_Gdrbm,a.f_Gdrmc,d.f_Csmc,"},
    {Slot::Text, u"(select f_Bz from tb"},
    {Slot::Period, nullptr},
    {Slot::Text,
     u"_Fptjdzb where f_Hsdwh = a.f_hsdwh and f_Djh = a.f_Fptjdh fetch first 1 rows only) f_Bz,"},
    {Slot::Text, u"(select sum(round(f_Fpje,2)) from tb"},
    {Slot::Period, nullptr},
    {Slot::Text, u"_Fptjdcb where f_Djh = a.f_Fptjdh) f_Fpje "},
    {Slot::Text, u"from tb"},
    {Slot::Period, nullptr},
    {Slot::Text, u"_Ygys a,tbBmda b, tbCsda d "},
    {Slot::Text, u"where a.f_Bmbm = b.f_Bmbm and a.f_Gysbm = d.f_Csbm and "},
    {Slot::Text, u"f_Gdrq >= '"},
    {Slot::Start, nullptr},
    {Slot::Text, u"' and f_Gdrq <= '"},
    {Slot::End, nullptr},
    {Slot::Text, u"' "},
    {Slot::Cond, nullptr},
    {Slot::Text, u" group by a.f_Gdrq,a.f_Gysbm,a.f_Fptjdh,a.f_Gdrbm,a.f_Gdrmc,d.f_Csmc,a.f_hsdwh"},
};

struct Slots {
    QString period;
    QString start;
    QString end;
    QString cond;
    QString cond2;
};

void appendPieces(QString& out, std::span<const Piece> pieces, const Slots& slots) {
    for (const Piece& piece : pieces) {
        switch (piece.slot) {
        case Slot::Text:
            out += QStringView(piece.text);
            break;
        case Slot::Period:
            out += slots.period;
            break;
        case Slot::Start:
            out += slots.start;
            break;
        case Slot::End:
            out += slots.end;
            break;
        case Slot::Cond:
            out += slots.cond;
            break;
        case Slot::Cond2:
            out += slots.cond2;
            break;
        }
    }
}

std::span<const Piece> piecesFor(QueryView view, const QString& dbKind) {
    const bool sqlServer = dbKind == QLatin1String("SQLSERVER");
    const bool db2 = dbKind == QLatin1String("DB2");
    switch (view) {
    case QueryView::Documents:
        if (sqlServer)
            return kDocumentsSqlServer;
        if (db2)
            return kDocumentsDb2;
        return {};
    case QueryView::Suppliers:
        return kSuppliers;
    case QueryView::Departments:
        return kDepartments;
    case QueryView::Items:
        return kItems;
    case QueryView::Submissions:
        if (sqlServer)
            return kSubmissionsSqlServer;
        if (db2)
            return kSubmissionsDb2;
        return {};
    case QueryView::Details:
        if (sqlServer)
            return kDetailsSqlServer;
        if (db2)
            return kDetailsDb2;
        return {};
    }
    return {};
}

} // namespace

QString QueryStatementBuilder::viewName(QueryView view) {
    switch (view) {
    case QueryView::Documents:
        return QStringLiteral("单据汇总");
    case QueryView::Suppliers:
        return QStringLiteral("厂商汇总");
    case QueryView::Departments:
        return QStringLiteral("部门汇总");
    case QueryView::Items:
        return QStringLiteral("商品汇总");
    case QueryView::Submissions:
        return QStringLiteral("提交单汇总");
    case QueryView::Details:
        return QStringLiteral("明细");
    }
    return {};
}

QString QueryStatementBuilder::escapeLiteral(const QString& text) {
    QString out = text;
    out.replace(QLatin1Char('\''), QLatin1String("''"));
    return out;
}

QString QueryStatementBuilder::permissionClause(const QString& operatorCode) {
    const QString code = escapeLiteral(operatorCode);
    return QStringLiteral(" (not exists(select * from tbzyfghsdw where f_zybm ='") + code +
           QStringLiteral("') ") +
           QStringLiteral("   or exists( select * from tbzyfghsdw where f_zybm ='") + code +
           QStringLiteral("' and f_hsdwh = a.f_hsdwh)) ");
}

QString QueryStatementBuilder::whereText(const QString& condition, const QString& operatorCode) {
    QString where = condition;
    if (!where.isEmpty())
        where += QStringLiteral(" and ");
    where += permissionClause(operatorCode);
    return where;
}

QString QueryStatementBuilder::purchaseType9Where(const QString& where) {
    // Replacing one occurrence at a time from the start is the same as replacing them all,
    // since "f_yymc" can never form a new "f_Spmc".
    QString out = where;
    out.replace(QLatin1String("f_Spmc"), QLatin1String("f_yymc"), Qt::CaseSensitive);
    return out;
}

QString QueryStatementBuilder::condText(const QString& where) {
    if (where.isEmpty())
        return {};
    return QStringLiteral(" and (") + where + QLatin1Char(')');
}

QString QueryStatementBuilder::cond2Text(const QString& where2) {
    if (where2.trimmed().isEmpty())
        return {};
    return QStringLiteral(" and (") + where2 + QLatin1Char(')');
}

bool QueryStatementBuilder::hasStatement(QueryView view, const QString& dbKind) {
    return !piecesFor(view, dbKind).empty();
}

QString QueryStatementBuilder::monthStatement(QueryView view, const QString& dbKind,
                                              const QString& period, const QString& start,
                                              const QString& end, const QString& cond,
                                              const QString& cond2) {
    QString out;
    appendPieces(out, piecesFor(view, dbKind), Slots{period, start, end, cond, cond2});
    return out;
}

QString QueryStatementBuilder::build(const QueryStatementRequest& request) {
    const auto pieces = piecesFor(request.view, request.dbKind);
    if (pieces.empty() || !request.start.isValid() || !request.end.isValid())
        return {};

    const QString where = whereText(request.condition, request.operatorCode);
    Slots slots;
    slots.start = request.start.toString(QStringLiteral("yyyyMMdd"));
    slots.end = request.end.toString(QStringLiteral("yyyyMMdd"));
    slots.cond = condText(where);
    slots.cond2 = cond2Text(purchaseType9Where(where));

    QString sql;
    QDate month(request.start.year(), request.start.month(), 1);
    const QDate lastMonth(request.end.year(), request.end.month(), 1);
    for (; month <= lastMonth; month = month.addMonths(1)) {
        slots.period = month.toString(QStringLiteral("yyyyMM"));
        if (!sql.isEmpty())
            sql += QStringLiteral(" union all ");
        sql += QLatin1Char(' ');
        appendPieces(sql, pieces, slots);
    }
    return sql;
}

QString QueryStatementBuilder::templateListStatement() {
    return QStringLiteral("select * from tbReport where f_sortname='已勾验收单'");
}

QString QueryStatementBuilder::operatorNameStatement(const QString& operatorCode) {
    return QStringLiteral("select f_zymc from tbzyda where f_zybm='") +
           escapeLiteral(operatorCode) + QLatin1Char('\'');
}

} // namespace kestrane::query

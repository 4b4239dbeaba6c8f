// Expanding a memo line with three field references and display formats over a million
// records, next to the plain cost of reading the same three fields and converting them with
// QString::number in the same run. Both report records per second; the ratio of the two is
// what the engine adds per record.
#include "data/MemTable.h"
#include "report/DisplayFormat.h"
#include "report/TRMDBDataSet.h"
#include "report/TRMReport.h"

#include <QCoreApplication>
#include <QObject>
#include <benchmark/benchmark.h>

using namespace kestrane;
using namespace kestrane::report;

namespace {

constexpr int kRecords = 1'000'000;

struct Fixture {
    QObject form;
    MemTable* cdsPrint;
    TRMDBDataSet* adapter;
    TRMReport* report;
    Fixture() {
        form.setObjectName(QStringLiteral("FrmKestrane"));
        cdsPrint = new MemTable(&form);
        cdsPrint->setObjectName(QStringLiteral("cdsPrint"));
        cdsPrint->setFieldDefs({FieldDef{QStringLiteral("f_Djh"), QString(), FieldType::String, 10},
                                FieldDef{QStringLiteral("f_Gjje"), QString(), FieldType::Float},
                                FieldDef{QStringLiteral("f_Ygsl"), QString(), FieldType::Float}});
        cdsPrint->createDataSet();
        for (int i = 0; i < kRecords; ++i)
            cdsPrint->appendRecord({QStringLiteral("D%1").arg(i, 8, 10, QLatin1Char('0')),
                                    (i % 100000) * 1.25 + 0.005, double(i % 977) / 4.0});
        adapter = new TRMDBDataSet(&form);
        adapter->setObjectName(QStringLiteral("RMDBDataSet1"));
        adapter->setDataSet(cdsPrint);
        report = new TRMReport(&form);
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

const QString kLine =
    QStringLiteral("单据:[cdsPrint.\"f_Djh\"] 金额:[cdsPrint.\"f_Gjje\" #N####0.00] "
                   "数量:[cdsPrint.\"f_Ygsl\" #N#,##0.00]");

void BM_ExpandMemoLine(benchmark::State& state) {
    Fixture& f = fixture();
    TRMEvaluator& ev = f.report->evaluator();
    const uint32_t word = DisplayFormat::defaultWord();
    qint64 records = 0;
    qint64 chars = 0;
    for (auto _ : state) {
        f.adapter->Init();
        for (f.adapter->First(); !f.adapter->Eof(); f.adapter->Next()) {
            const QString s = ev.expandLine(kLine, word, QString(), true);
            chars += s.size();
            ++records;
        }
        f.adapter->Exit();
    }
    benchmark::DoNotOptimize(chars);
    state.counters["records_per_s"] =
        benchmark::Counter(double(records), benchmark::Counter::kIsRate);
}

void BM_ReadFieldsBaseline(benchmark::State& state) {
    Fixture& f = fixture();
    MemTable& ds = *f.cdsPrint;
    qint64 records = 0;
    qint64 chars = 0;
    for (auto _ : state) {
        f.adapter->Init();
        for (f.adapter->First(); !f.adapter->Eof(); f.adapter->Next()) {
            const int row = ds.recNo();
            const QString a = ds.value(row, 0).toString();
            const QString b = QString::number(ds.value(row, 1).toDouble(), 'f', 2);
            const QString c = QString::number(ds.value(row, 2).toDouble(), 'f', 2);
            chars += a.size() + b.size() + c.size();
            ++records;
        }
        f.adapter->Exit();
    }
    benchmark::DoNotOptimize(chars);
    state.counters["records_per_s"] =
        benchmark::Counter(double(records), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(BM_ReadFieldsBaseline)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ExpandMemoLine)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    fixture();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

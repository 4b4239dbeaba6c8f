// Data layer against SQLite on the same rows, in the same run.
//
// Run (one command, from the repository root):
//   cmake -S . -B build-data -G Ninja -DKESTRANE_BENCH=ON && cmake --build build-data --target
//   bench_data && build-data/bench/data/bench_data
// Optional arguments: row counts (default 100000 1000000).
//
// The rows are shaped like the detail view: 12 short texts (Chinese names and codes), 5
// amounts, 1 integer, 2 dates as "YYYYMMDD" text; generated from a fixed seed. For each row
// count it measures, for our columnar recordset and for an SQLite in-memory table holding the
// same rows:
//   1. build from the generated rows (our Table + Recordset / prepared INSERTs in one
//      transaction); packet encode / sqlite3_serialize; packet decode / sqlite3_deserialize
//      followed by count(*) (which reads every page);
//   2. the filter "( f_Bmmc LIKE '%总店%' ) And ( f_Gjje > 100 ) OR ( f_Gdrq Between
//      '20050101' And '20050131' )", counting rows (Recordset::setFilter / SELECT count(*));
//   3. a sort by one text and one amount (f_Csmc ASC, f_Gjje DESC) producing the row order
//      (Recordset::setSort / SELECT rowid ... ORDER BY, stepped to the end). Ours orders the
//      text by pinyin (ICU zh_CN), SQLite by bytes;
//   4. sums of four amounts over the filtered rows (filter + four sums / SELECT SUM(...) WHERE);
// and memory: bytes held by our recordset (its columns and row view; also the RSS growth)
// against sqlite3_memory_used() growth for the table.
// Each figure is the best of several runs; the ratio is ours / SQLite (below 1: ours faster).
#include "data/DataPacket.h"
#include "data/Recordset.h"

#include <QByteArray>
#include <QString>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <random>
#include <sqlite3.h>
#include <string>
#include <unistd.h>
#include <vector>

using namespace kestrane;

namespace {

constexpr int kTexts = 12;
constexpr int kAmounts = 5;

const char* const kTextNames[kTexts] = {"f_Hsdwh", "f_Hsdwmc", "f_Bmbm",   "f_Bmmc",
                                        "f_gjlx",  "f_Djh",    "f_Gysbm",  "f_Csmc",
                                        "f_Spbm",  "f_Spmc",   "f_Fptjdh", "f_Gdrbm"};
const char* const kAmountNames[kAmounts] = {"f_Gjje", "f_Ygsl", "f_Ygws", "f_Ygje", "f_Fpje"};

struct Pool {
    std::vector<QString> utf16;
    std::vector<std::string> utf8;
    void add(const QString& s) {
        utf16.push_back(s);
        utf8.push_back(s.toStdString());
    }
};

struct Rows {
    std::size_t n = 0;
    Pool pools[kTexts];
    Pool dates;
    std::vector<uint32_t> text[kTexts]; // per column: pool index per row
    std::vector<double> amount[kAmounts];
    std::vector<int64_t> dnxh;
    std::vector<uint32_t> rzrq, gdrq; // date pool index
};

Rows generate(std::size_t n) {
    Rows rows;
    rows.n = n;
    std::mt19937_64 rng(20050131);
    const QString shops[] = {"总店", "分店", "东城店", "西城店", "南区配送中心", "北区仓库"};
    const QString goods[] = {"食品", "饮料", "日用品", "家电", "文具", "服装", "生鲜", "烟酒"};
    const QString places[] = {"北京", "上海", "广州", "杭州", "成都", "武汉", "南京", "西安"};
    const int sizes[kTexts] = {10,
                               10,
                               50,
                               50,
                               5,
                               int(std::max<std::size_t>(n / 8, 1)),
                               1000,
                               1000,
                               10000,
                               10000,
                               int(std::max<std::size_t>(n / 40, 1)),
                               30};
    for (int c = 0; c < kTexts; ++c) {
        for (int i = 0; i < sizes[c]; ++i) {
            QString s;
            switch (c) {
            case 1:
                s = places[i % 8] + QStringLiteral("核算单位%1").arg(i);
                break;
            case 3:
                s = shops[i % 6] + QStringLiteral("%1部").arg(i / 6 + 1);
                break;
            case 4:
                s = QStringList{"购进", "退货", "调拨", "代销", "赠品"}[i];
                break;
            case 7:
                s = places[i % 8] + goods[(i / 8) % 8] + QStringLiteral("有限公司%1").arg(i);
                break;
            case 9:
                s = goods[i % 8] + QStringLiteral("商品%1号").arg(i);
                break;
            case 5:
                s = QStringLiteral("PO%1").arg(i, 8, 10, QLatin1Char('0'));
                break;
            case 10:
                s = QStringLiteral("TJ%1").arg(i, 8, 10, QLatin1Char('0'));
                break;
            default:
                s = QStringLiteral("%1").arg(i + 1, c == 8 ? 8 : 4, 10, QLatin1Char('0'));
                break;
            }
            rows.pools[c].add(s);
        }
    }
    const QDate start(2004, 7, 1);
    for (int d = 0; d < 365; ++d)
        rows.dates.add(start.addDays(d).toString("yyyyMMdd"));
    for (int c = 0; c < kTexts; ++c)
        rows.text[c].resize(n);
    for (int a = 0; a < kAmounts; ++a)
        rows.amount[a].resize(n);
    rows.dnxh.resize(n);
    rows.rzrq.resize(n);
    rows.gdrq.resize(n);
    for (std::size_t r = 0; r < n; ++r) {
        for (int c = 0; c < kTexts; ++c) {
            // Document-bound columns follow the document; the rest are drawn.
            if (c == 5)
                rows.text[c][r] = uint32_t(r / 8 % rows.pools[c].utf16.size());
            else if (c == 10)
                rows.text[c][r] = uint32_t(r / 40 % rows.pools[c].utf16.size());
            else
                rows.text[c][r] = uint32_t(rng() % rows.pools[c].utf16.size());
        }
        for (int a = 0; a < kAmounts; ++a)
            rows.amount[a][r] = double(int64_t(rng() % 2000000)) / 100.0;
        rows.dnxh[r] = int64_t(r % 8 + 1);
        rows.rzrq[r] = uint32_t(rng() % 365);
        rows.gdrq[r] = uint32_t(std::min<uint64_t>(rows.rzrq[r] + rng() % 30, 364));
    }
    return rows;
}

double seconds(const std::function<void()>& f, int reps) {
    double best = 1e100;
    for (int i = 0; i < reps; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        f();
        const auto t1 = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double>(t1 - t0).count());
    }
    return best;
}

long rssBytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

// ---- ours ---------------------------------------------------------------------------------

std::shared_ptr<Recordset> buildOurs(const Rows& rows) {
    QList<FieldDef> fields;
    for (int c = 0; c < kTexts; ++c)
        fields.append({kTextNames[c], "", FieldType::String, 50});
    for (int a = 0; a < kAmounts; ++a)
        fields.append({kAmountNames[a], "", FieldType::Float, 0, true, 0, "####0.00"});
    fields.append({"f_Dnxh", "", FieldType::Integer});
    fields.append({"f_Rzrq", "", FieldType::String, 10});
    fields.append({"f_Gdrq", "", FieldType::String, 10});
    Table t(fields);
    t.reserve(qsizetype(rows.n));
    for (std::size_t r = 0; r < rows.n; ++r) {
        const qsizetype row = t.appendRow();
        for (int c = 0; c < kTexts; ++c)
            t.setText(row, c, rows.pools[c].utf16[rows.text[c][r]]);
        for (int a = 0; a < kAmounts; ++a)
            t.setFloat(row, kTexts + a, rows.amount[a][r]);
        t.setInteger(row, kTexts + kAmounts, rows.dnxh[r]);
        t.setText(row, kTexts + kAmounts + 1, rows.dates.utf16[rows.rzrq[r]]);
        t.setText(row, kTexts + kAmounts + 2, rows.dates.utf16[rows.gdrq[r]]);
    }
    return std::make_shared<Recordset>(std::move(t));
}

// ---- SQLite -------------------------------------------------------------------------------

void check(int rc, sqlite3* db, const char* what) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "sqlite %s: %s\n", what, sqlite3_errmsg(db));
        std::exit(1);
    }
}

void exec(sqlite3* db, const std::string& sql) {
    check(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), db, sql.c_str());
}

sqlite3* buildSqlite(const Rows& rows) {
    sqlite3* db = nullptr;
    check(sqlite3_open(":memory:", &db), db, "open");
    std::string create = "CREATE TABLE t(";
    std::string insert = "INSERT INTO t VALUES(";
    for (int c = 0; c < kTexts; ++c)
        create += std::string(kTextNames[c]) + " TEXT,";
    for (int a = 0; a < kAmounts; ++a)
        create += std::string(kAmountNames[a]) + " REAL,";
    create += "f_Dnxh INTEGER, f_Rzrq TEXT, f_Gdrq TEXT)";
    for (int i = 0; i < 20; ++i)
        insert += i ? ",?" : "?";
    insert += ")";
    exec(db, create);
    exec(db, "BEGIN");
    sqlite3_stmt* st = nullptr;
    check(sqlite3_prepare_v2(db, insert.c_str(), -1, &st, nullptr), db, "prepare insert");
    for (std::size_t r = 0; r < rows.n; ++r) {
        for (int c = 0; c < kTexts; ++c) {
            const std::string& s = rows.pools[c].utf8[rows.text[c][r]];
            sqlite3_bind_text(st, c + 1, s.data(), int(s.size()), SQLITE_STATIC);
        }
        for (int a = 0; a < kAmounts; ++a)
            sqlite3_bind_double(st, kTexts + a + 1, rows.amount[a][r]);
        sqlite3_bind_int64(st, kTexts + kAmounts + 1, rows.dnxh[r]);
        const std::string& rz = rows.dates.utf8[rows.rzrq[r]];
        const std::string& gd = rows.dates.utf8[rows.gdrq[r]];
        sqlite3_bind_text(st, kTexts + kAmounts + 2, rz.data(), int(rz.size()), SQLITE_STATIC);
        sqlite3_bind_text(st, kTexts + kAmounts + 3, gd.data(), int(gd.size()), SQLITE_STATIC);
        check(sqlite3_step(st), db, "insert");
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    exec(db, "COMMIT");
    return db;
}

int64_t queryInt(sqlite3* db, const char* sql) {
    sqlite3_stmt* st = nullptr;
    check(sqlite3_prepare_v2(db, sql, -1, &st, nullptr), db, sql);
    check(sqlite3_step(st), db, sql);
    const int64_t v = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    return v;
}

// ---- the run ------------------------------------------------------------------------------

const QString kFilter = QStringLiteral("( f_Bmmc LIKE '%总店%' ) And ( f_Gjje > 100 ) OR ( f_Gdrq "
                                       "Between '20050101' And '20050131' )");
const char* const kSqlWhere = " WHERE ( f_Bmmc LIKE '%总店%' ) And ( f_Gjje > 100 ) OR ( f_Gdrq "
                              "Between '20050101' And '20050131' )";

void line(const char* what, double ours, double theirs, const char* unit = "ms") {
    const double scale = std::string(unit) == "ms" ? 1000.0 : 1.0 / (1024 * 1024);
    std::printf("  %-44s ours %10.1f %s   sqlite %10.1f %s   ratio %.3f\n", what, ours * scale,
                unit, theirs * scale, unit, ours / theirs);
}

void run(std::size_t n) {
    std::printf("\n%zu rows x 20 columns\n", n);
    const Rows rows = generate(n);
    const int reps = n > 200000 ? 3 : 5;

    // Memory first, on fresh structures.
    const long rss0 = rssBytes();
    std::shared_ptr<Recordset> rs = buildOurs(rows);
    const long rss1 = rssBytes();
    const std::size_t ourBytes = rs->table().memoryBytes() + rs->rows().capacity() * 4;
    const int64_t sq0 = sqlite3_memory_used();
    sqlite3* db = buildSqlite(rows);
    const int64_t sqliteBytes = sqlite3_memory_used() - sq0;

    std::shared_ptr<Recordset> scratch;
    const double tBuild = seconds([&] { scratch = buildOurs(rows); }, reps);
    scratch.reset();
    const double sBuild = seconds([&] { sqlite3_close(buildSqlite(rows)); }, reps);

    QByteArray packet;
    const double tEncode = seconds([&] { packet = encodePacket(rs->table()); }, reps);
    sqlite3_int64 dbSize = 0;
    unsigned char* image = nullptr;
    const double sEncode = seconds(
        [&] {
            sqlite3_free(image);
            image = sqlite3_serialize(db, "main", &dbSize, 0);
        },
        reps);
    Table decoded;
    const double tDecode = seconds([&] { decoded = decodePacket(QByteArrayView(packet)); }, reps);
    if (decoded.rowCount() != qsizetype(n))
        std::abort();
    decoded = Table();
    int64_t sqliteCount = 0;
    const double sDecode = seconds(
        [&] {
            sqlite3* db2 = nullptr;
            sqlite3_open(":memory:", &db2);
            unsigned char* copy =
                static_cast<unsigned char*>(sqlite3_malloc64(sqlite3_uint64(dbSize)));
            std::memcpy(copy, image, std::size_t(dbSize));
            check(
                sqlite3_deserialize(db2, "main", copy, dbSize, dbSize,
                                    SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_RESIZEABLE),
                db2, "deserialize");
            sqliteCount = queryInt(db2, "SELECT count(*) FROM t");
            sqlite3_close(db2);
        },
        reps);
    sqlite3_free(image);
    if (sqliteCount != int64_t(n))
        std::abort();

    int ourCount = 0;
    const double tFilter = seconds(
        [&] {
            rs->setFilter(QString());
            rs->setFilter(kFilter);
            ourCount = rs->recordCount();
        },
        reps);
    int64_t theirCount = 0;
    const std::string countSql = std::string("SELECT count(*) FROM t") + kSqlWhere;
    const double sFilter = seconds([&] { theirCount = queryInt(db, countSql.c_str()); }, reps);
    rs->setFilter(QString());

    const double tSort = seconds(
        [&] {
            rs->setSort(QString());
            rs->setSort("f_Csmc ASC,f_Gjje DESC");
        },
        reps);
    int64_t stepped = 0;
    const double sSort = seconds(
        [&] {
            sqlite3_stmt* st = nullptr;
            sqlite3_prepare_v2(db, "SELECT rowid FROM t ORDER BY f_Csmc ASC, f_Gjje DESC", -1, &st,
                               nullptr);
            stepped = 0;
            while (sqlite3_step(st) == SQLITE_ROW)
                ++stepped;
            sqlite3_finalize(st);
        },
        reps);
    rs->setSort(QString());
    if (stepped != int64_t(n))
        std::abort();

    double ourSums[4] = {};
    const double tSums = seconds(
        [&] {
            rs->setFilter(QString());
            rs->setFilter(kFilter);
            // Sums as the grid's footers take them: over the dataset's visible rows.
            const Table& t = rs->table();
            for (int a = 0; a < 4; ++a) {
                const double* v = t.floats(kTexts + a);
                const uint64_t* nulls = t.nullBits(kTexts + a);
                double s = 0, comp = 0;
                for (uint32_t r : rs->rows()) {
                    if ((nulls[r >> 6] >> (r & 63)) & 1u)
                        continue;
                    const double x = v[r];
                    const double t2 = s + x;
                    comp += std::abs(s) >= std::abs(x) ? (s - t2) + x : (x - t2) + s;
                    s = t2;
                }
                ourSums[a] = s + comp;
            }
        },
        reps);
    double theirSums[4] = {};
    const std::string sumSql =
        std::string("SELECT SUM(f_Gjje), SUM(f_Ygsl), SUM(f_Ygws), SUM(f_Ygje) FROM t") + kSqlWhere;
    const double sSums = seconds(
        [&] {
            sqlite3_stmt* st = nullptr;
            sqlite3_prepare_v2(db, sumSql.c_str(), -1, &st, nullptr);
            sqlite3_step(st);
            for (int a = 0; a < 4; ++a)
                theirSums[a] = sqlite3_column_double(st, a);
            sqlite3_finalize(st);
        },
        reps);

    line("1. build recordset from rows", tBuild, sBuild);
    line("1. encode packet / sqlite3_serialize", tEncode, sEncode);
    line("1. decode packet / deserialize + count(*)", tDecode, sDecode);
    line("2. filter, count rows", tFilter, sFilter);
    line("3. sort f_Csmc ASC, f_Gjje DESC", tSort, sSort);
    line("4. filter + sums of 4 amounts", tSums, sSums);
    line("memory of the table (columns / sqlite heap)", double(ourBytes), double(sqliteBytes),
         "MiB");
    std::printf(
        "  RSS growth while building ours: %.1f MiB; packet %.1f MiB; sqlite image %.1f MiB\n",
        double(rss1 - rss0) / (1024 * 1024), double(packet.size()) / (1024 * 1024),
        double(dbSize) / (1024 * 1024));
    std::printf("  check: filter count ours %d sqlite %lld; sums ours %.2f %.2f %.2f %.2f sqlite "
                "%.2f %.2f %.2f %.2f\n",
                ourCount, static_cast<long long>(theirCount), ourSums[0], ourSums[1], ourSums[2],
                ourSums[3], theirSums[0], theirSums[1], theirSums[2], theirSums[3]);
    sqlite3_close(db);
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::size_t> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(std::size_t(std::stoull(argv[i])));
    if (sizes.empty())
        sizes = {100000, 1000000};
    std::printf("SQLite %s\n", sqlite3_libversion());
    for (std::size_t n : sizes)
        run(n);
    return 0;
}

// Writing 100 000 rows x 17 columns (Chinese text and amounts, thin borders, two fonts, every
// cell its own range) with our writer, and the same cells with python3-xlwt in the same run.
// Prints our build and save times, xlwt's, the ratio, and our memory during the save against
// the size of the file written.
//
// Usage: bench_xls [rows (default 100000)] [output folder or - for a temporary one]
//                  [--ours-only] [--saves=N (default 3)] [--no-text-timing]
// --no-text-timing leaves out the separate pass that times making the cell texts alone, so
// that the whole process does only what a producer would: build the model and save it.
// The machine may be shared: CPU seconds are printed beside wall seconds, and the ratios are
// given for both.
#include "export/xls/TqelExcelWriter.h"
#include "export/xls/TqelXLSWorkbook.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

using namespace kestrane::xls;

namespace {

constexpr int kColumns = 17;
constexpr int kRowsPerSheet = 50000; // a sheet holds at most 65 536 rows

const QStringList kWords{QStringLiteral("食品"),     QStringLiteral("饮料"),
                         QStringLiteral("日用百货"), QStringLiteral("家电"),
                         QStringLiteral("服装鞋帽"), QStringLiteral("生鲜"),
                         QStringLiteral("粮油"),     QStringLiteral("文具")};

void appendNumber(QString& out, int value, int width = 0) {
    char digits[16];
    int n = 0;
    do {
        digits[n++] = char('0' + value % 10);
        value /= 10;
    } while (value);
    while (n < width)
        digits[n++] = '0';
    while (n)
        out.append(QLatin1Char(digits[--n]));
}

// The same rule as xlwt_baseline.py, written into one reused buffer as a producer filling a
// sheet would. Amounts and codes are texts, as the report export gives them; the writer
// stores them as numbers.
void cellText(int row, int column, QString& out) {
    out.clear();
    switch (column % 4) {
    case 0:
        out.append(kWords[(row + column) % kWords.size()]);
        appendNumber(out, row);
        out.append(u'号');
        return;
    case 1: {
        const int cents = (row * 37 + column * 11) % 1000000;
        appendNumber(out, cents / 100);
        out.append(u'.');
        appendNumber(out, cents % 100, 2);
        return;
    }
    case 2:
        appendNumber(out, row % 1000, 6);
        return;
    default:
        out.append(u"供应商 ");
        appendNumber(out, column);
        out.append(u" “");
        out.append(kWords[row % kWords.size()]);
        out.append(u'”');
        return;
    }
}

// Memory figures of this process from /proc, in kB.
long procStatus(const char* key) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(int(strlen(key))).trimmed().split(' ').first().toLong();
    return -1;
}

// Lets the peak figure start again from the current size.
bool resetPeak() {
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    return f.open(QIODevice::WriteOnly) && f.write("5") == 1;
}

double cpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;
    QTemporaryDir tmp;
    const QString folder =
        argc > 2 && strcmp(argv[2], "-") != 0 ? QString::fromLocal8Bit(argv[2]) : tmp.path();
    bool oursOnly = false;
    bool textTiming = true;
    int saveRuns = 3;
    for (int i = 3; i < argc; ++i) {
        if (strcmp(argv[i], "--ours-only") == 0)
            oursOnly = true;
        else if (strcmp(argv[i], "--no-text-timing") == 0)
            textTiming = false;
        else if (strncmp(argv[i], "--saves=", 8) == 0)
            saveRuns = std::max(1, atoi(argv[i] + 8));
    }
    const QString ours = folder + QStringLiteral("/bench_ours.xls");
    const QString theirs = folder + QStringLiteral("/bench_xlwt.xls");

    // How much of building the model is only making the cell texts (xlwt's build pays the
    // same in Python): generated once on their own and thrown away.
    double cpu = cpuSeconds();
    qsizetype generated = 0;
    QString text;
    for (int r = 0; r < rows && textTiming; ++r)
        for (int c = 0; c < kColumns; ++c) {
            cellText(r, c, text);
            generated += text.size();
        }
    const double textCpu = cpuSeconds() - cpu;

    QElapsedTimer t;
    t.start();
    cpu = cpuSeconds();
    TqelXLSWorkbook wb;
    // The two looks of the cells: 宋体 texts, bold right-aligned Arial numbers, thin frames.
    TqelXLSStyle textLook;
    textLook.font.name = QStringLiteral("宋体");
    textLook.font.charset = 134;
    for (int slot :
         {TqelXLSBorders::Left, TqelXLSBorders::Top, TqelXLSBorders::Right, TqelXLSBorders::Bottom})
        textLook.borders[slot] = {0, 1, 0};
    TqelXLSStyle numberLook = textLook;
    numberLook.font = TqelXLSFont();
    numberLook.font.style = TqelXLSFont::Bold;
    numberLook.horizontalAlignment = 3;
    TqelXLSWorksheet* sheet = nullptr;
    for (int r = 0; r < rows; ++r) {
        if (r % kRowsPerSheet == 0)
            sheet = &wb.AddSheet();
        const int sr = r % kRowsPerSheet;
        for (int c = 0; c < kColumns; ++c) {
            TqelXLSRange& range = sheet->AddRange(c, sr, c, sr);
            cellText(r, c, text);
            range.SetText(text);
            range.SetStyle(c % 4 == 1 || c % 4 == 2 ? numberLook : textLook);
        }
    }
    const double buildSeconds = t.nsecsElapsed() / 1e9;
    const double buildCpu = cpuSeconds() - cpu;
    const long modelKb = procStatus("VmRSS:");

    std::vector<double> saves, saveCpus;
    long peakKb = -1;
    const bool peakReset = resetPeak();
    for (int run = 0; run < saveRuns; ++run) {
        t.restart();
        cpu = cpuSeconds();
        TqelExcelWriter().Save(wb, ours);
        saves.push_back(t.nsecsElapsed() / 1e9);
        saveCpus.push_back(cpuSeconds() - cpu);
    }
    peakKb = procStatus("VmHWM:");
    const double saveSeconds = median(saves);
    const double saveCpu = median(saveCpus);
    const qint64 ourSize = QFileInfo(ours).size();
    printf("cells: %d rows x %d columns = %lld, on %d sheets\n", rows, kColumns,
           static_cast<long long>(rows) * kColumns, wb.SheetCount());
    printf("ours : build model %.3f s (cpu %.3f s); save %.3f s (cpu %.3f s), median of %d "
           "saves; file %lld bytes\n",
           buildSeconds, buildCpu, saveSeconds, saveCpu, saveRuns, static_cast<long long>(ourSize));
    printf("       (cpu %.3f s of the build is making the %lld characters of cell text)\n", textCpu,
           static_cast<long long>(generated));
    printf("memory: model %ld kB resident; peak during save %ld kB%s; save added %ld kB = "
           "%.2f x the file\n",
           modelKb, peakKb, peakReset ? "" : " (peak not resettable: includes the build)",
           peakKb - modelKb, (peakKb - modelKb) * 1024.0 / double(ourSize));
    fflush(stdout);
    if (oursOnly)
        return 0;

    QProcess py;
    t.restart();
    py.start(QStringLiteral("/usr/bin/python3"),
             {QStringLiteral(XLWT_BASELINE_SCRIPT), QString::number(rows), theirs});
    if (!py.waitForFinished(-1) || py.exitCode() != 0) {
        fprintf(stderr, "xlwt baseline failed: %s\n", py.readAllStandardError().constData());
        return 1;
    }
    const double xlwtWall = t.nsecsElapsed() / 1e9;
    const QJsonObject x = QJsonDocument::fromJson(py.readAllStandardOutput()).object();
    const double xlwtBuild = x[QStringLiteral("build")].toDouble();
    const double xlwtSave = x[QStringLiteral("save")].toDouble();
    const double xlwtCpu = x[QStringLiteral("cpu")].toDouble();
    const double xlwtTotal = xlwtBuild + xlwtSave;
    printf("xlwt : build %.3f s, save %.3f s, total %.3f s (cpu %.3f s; process %.3f s); file "
           "%lld bytes\n",
           xlwtBuild, xlwtSave, xlwtTotal, xlwtCpu, xlwtWall,
           static_cast<long long>(x[QStringLiteral("size")].toInteger()));
    printf("ratio xlwt/ours, wall: build+save %.1fx, save alone %.1fx\n",
           xlwtTotal / (buildSeconds + saveSeconds), xlwtTotal / saveSeconds);
    printf("ratio xlwt/ours, cpu : build+save %.1fx, save alone %.1fx\n",
           xlwtCpu / (buildCpu + saveCpu), xlwtCpu / saveCpu);
    return 0;
}

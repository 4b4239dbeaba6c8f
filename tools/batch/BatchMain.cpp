// kestrane: the query screen without a display. See --help.
#include "BatchOptions.h"
#include "FormDriver.h"

#include "common/Error.h"
#include "host/HostDatabase.h"
#include "host/SqlCoorDisp.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QTableView>

using namespace kestrane;

namespace {

// Width of a text in terminal columns: Chinese characters take two.
int displayWidth(const QString& text) {
    int width = 0;
    for (QChar c : text)
        width += c.unicode() >= 0x1100 ? 2 : 1;
    return width;
}

QString pad(const QString& text, int width, bool right) {
    const QString fill(qMax(0, width - displayWidth(text)), u' ');
    return right ? fill + text : text + fill;
}

// The header and the first `rows` rows of the grid's visible columns, aligned.
void printTable(QTextStream& out, QTableView& grid, int rows) {
    QAbstractItemModel* model = grid.model();
    QList<int> columns;
    for (int c = 0; c < model->columnCount(); ++c)
        if (!grid.isColumnHidden(c))
            columns << c;
    const int shown = qMin(rows, model->rowCount());
    QList<QStringList> cells;
    QStringList header;
    for (int c : columns)
        header << model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    cells << header;
    for (int r = 0; r < shown; ++r) {
        QStringList line;
        for (int c : columns)
            line << model->index(r, c).data().toString();
        cells << line;
    }
    QList<int> widths(columns.size(), 0);
    for (const QStringList& line : cells)
        for (qsizetype i = 0; i < line.size(); ++i)
            widths[i] = qMax(widths[i], displayWidth(line[i]));
    for (qsizetype r = 0; r < cells.size(); ++r) {
        QStringList padded;
        for (qsizetype i = 0; i < cells[r].size(); ++i) {
            const bool right =
                r > 0 &&
                (model->index(0, columns[i]).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
            padded << pad(cells[r][i], widths[i], right);
        }
        out << padded.join(QStringLiteral("  ")).trimmed() << "\n";
    }
    if (model->rowCount() > shown)
        out << "... (" << model->rowCount() - shown << " more rows)\n";
}

void printFooters(QTextStream& out, QTableView& grid, const QStringList& footers) {
    QAbstractItemModel* model = grid.model();
    for (int c = 0; c < footers.size() && c < model->columnCount(); ++c)
        if (!footers[c].isEmpty())
            out << "  " << model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString() << ": "
                << footers[c] << "\n";
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kestrane"));
    QTextStream out(stdout);
    QTextStream err(stderr);

    batch::BatchOptions options;
    QString usageError;
    if (!batch::BatchOptions::parse(QApplication::arguments(), options, usageError)) {
        err << "kestrane: " << usageError << "\n(see kestrane --help)\n";
        return 1;
    }

    host::SqlCoorDisp* service = nullptr;
    try {
        std::unique_ptr<host::SqlBackend> db = host::HostDatabase::open(options.host, err);
        out << "database: " << db->description() << " (" << options.host.kind << ")\n";
        service = new host::SqlCoorDisp(std::move(db), options.host.kind, options.host.today);
        if (!options.host.traceFile.isEmpty())
            service->setTraceFile(options.host.traceFile);
    } catch (const std::exception& e) {
        err << "kestrane: " << QString::fromUtf8(e.what()) << "\n";
        return 1;
    }

    int status = 0;
    {
        batch::FormDriver driver(
            QDir(QApplication::applicationDirPath()).filePath(QStringLiteral("DllKestrane.so")),
            err);
        if (!driver.start(service, options.host.operatorCode)) {
            status = 1;
        } else {
            driver.query(options);
            if (driver.errors().isEmpty() && !options.filter.isEmpty())
                driver.filter(options.filter);
            QTableView* grid = driver.grid();
            if (!driver.errors().isEmpty()) {
                for (const QString& message : driver.errors())
                    err << "kestrane: " << message << "\n";
                status = 2;
            } else if (grid) {
                out << "view: " << options.view << "\n";
                out << "rows: " << grid->model()->rowCount() << "\n";
                out << "footers:\n";
                printFooters(out, *grid, driver.footers());
                printTable(out, *grid, options.rows);
            }
            if (!options.screenshot.isEmpty() && !driver.screenshot(options.screenshot)) {
                err << "kestrane: the picture could not be written to " << options.screenshot
                    << "\n";
                status = status ? status : 1;
            }
        }
    }
    service->Release();
    return status;
}

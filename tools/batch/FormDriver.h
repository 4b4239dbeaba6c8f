#pragma once
// Drives the module's real query screen, loaded from DllKestrane.so the way a host loads it,
// through its widgets: dates, view, the condition and filter dialogs (answered through the
// module's modal hook), the query and the grid it fills.
#include "BatchOptions.h"

#include "kestrane/ICoorDisp.h"
#include "ui/modal/ScriptedModalRunner.h"

#include <QLibrary>
#include <QPointer>
#include <QStringList>
#include <QTextStream>
#include <QWidget>

class QTableView;

namespace kestrane::batch {

class FormDriver {
public:
    FormDriver(const QString& modulePath, QTextStream& err);
    ~FormDriver();

    // Loads the module and embeds the screen. False (with the reason written) when the
    // module cannot be loaded.
    bool start(ICoorDisp* host, const QString& operatorCode);
    // Sets view and dates, answers the condition dialog with `rows` and runs the query.
    void query(const BatchOptions& options);
    // Answers the filter dialog with `rows`.
    void filter(const QList<ConditionInput>& rows);

    // The result grid.
    QTableView* grid() const;
    QStringList footers() const;
    // Saves a picture of the screen as it stands.
    bool screenshot(const QString& path) const;
    // The error boxes the screen showed, in order.
    QStringList errors() const { return m_errors; }

private:
    // Queues a handler for the next condition dialog that enters `rows` and confirms.
    void answerConditionDialog(const QList<ConditionInput>& rows);
    void press(const char* buttonName);

    class Runner;
    QLibrary m_library;
    QTextStream& m_err;
    std::unique_ptr<Runner> m_runner;
    std::unique_ptr<QWidget> m_hostWindow;
    QWidget* m_panel = nullptr;
    QPointer<QWidget> m_form;
    QStringList m_errors;
};

} // namespace kestrane::batch

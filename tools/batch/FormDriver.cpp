#include "FormDriver.h"

#include "kestrane/GetFormOne.h"
#include "kestrane/ModalHook.h"
#include "ui/modal/MessageBox.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QLineEdit>
#include <QTableView>

namespace kestrane::batch {

// Answers the screen's dialogs from the queued handlers and reports every message box: error
// boxes are collected, the others written as notes and answered with their first button.
class FormDriver::Runner : public ui::ScriptedModalRunner {
public:
    Runner(FormDriver& driver) : m_driver(driver) {}
    int showMessage(const ui::MessageRequest& request) override {
        if ((request.flags & ui::kMbIconMask) == ui::MbIconError)
            m_driver.m_errors << request.text;
        else
            m_driver.m_err << "kestrane: " << request.caption << ": " << request.text << "\n";
        return ui::ScriptedModalRunner::showMessage(request);
    }

private:
    FormDriver& m_driver;
};

namespace {

bool selectText(QComboBox* combo, const QString& text) {
    const int index = combo ? combo->findText(text) : -1;
    if (index < 0)
        return false;
    combo->setCurrentIndex(index);
    Q_EMIT combo->activated(index);
    return true;
}

void click(QWidget* parent, const char* name) {
    if (auto* button = parent->findChild<QAbstractButton*>(QString::fromLatin1(name)))
        button->click();
}

} // namespace

FormDriver::FormDriver(const QString& modulePath, QTextStream& err)
    : m_library(modulePath), m_err(err), m_runner(std::make_unique<Runner>(*this)) {}

FormDriver::~FormDriver() {
    m_hostWindow.reset(); // the form goes with the panel, without a close notification
    if (m_library.isLoaded()) {
        if (auto hook = reinterpret_cast<KestraneSetModalRunnerFunction>(
                m_library.resolve("KestraneSetModalRunner")))
            hook(nullptr);
    }
}

bool FormDriver::start(ICoorDisp* host, const QString& operatorCode) {
    if (!m_library.load()) {
        m_err << "kestrane: the module could not be loaded: " << m_library.errorString() << "\n";
        return false;
    }
    auto getFormOne = reinterpret_cast<GetFormOneFunction>(m_library.resolve("GetFormOne"));
    auto hook = reinterpret_cast<KestraneSetModalRunnerFunction>(
        m_library.resolve("KestraneSetModalRunner"));
    if (!getFormOne || !hook) {
        m_err << "kestrane: " << m_library.fileName() << " does not export GetFormOne\n";
        return false;
    }
    hook(m_runner.get());
    m_hostWindow = std::make_unique<QWidget>();
    m_hostWindow->resize(1200, 700);
    m_panel = new QWidget(m_hostWindow.get());
    m_panel->resize(1200, 700);
    m_hostWindow->show();
    QByteArray code = operatorCode.toLocal8Bit().left(255);
    code.prepend(char(code.size()));
    getFormOne(0, m_hostWindow.get(), reinterpret_cast<const unsigned char*>(code.constData()),
               m_panel, host);
    const auto forms = m_panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    m_form = forms.isEmpty() ? nullptr : forms.last();
    return m_form != nullptr;
}

void FormDriver::answerConditionDialog(const QList<ConditionInput>& rows) {
    m_runner->queueDialog([this, rows](QDialog& dialog) {
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const ConditionInput& row = rows[i];
            if (!selectText(dialog.findChild<QComboBox*>("cbxField"), row.label))
                m_err << "kestrane: the condition dialog offers no field " << row.label << "\n";
            if (!selectText(dialog.findChild<QComboBox*>("cbxFactor"), row.op))
                m_err << "kestrane: the condition dialog has no operator " << row.op << "\n";
            if (auto* edit = dialog.findChild<QLineEdit*>("editValue"))
                edit->setText(row.value);
            if (i > 0) {
                // The dialog asks how the new row joins the previous one.
                const QString relation =
                    rows[i - 1].relation.isEmpty() ? QStringLiteral("并且") : rows[i - 1].relation;
                m_runner->queueDialog([relation](QDialog& choice) {
                    selectText(choice.findChild<QComboBox*>("cbxItems"), relation);
                    click(&choice, "btnOK");
                });
            }
            click(&dialog, "btnAddLogic");
        }
        click(&dialog, "btnOK");
    });
}

void FormDriver::press(const char* buttonName) {
    click(m_form, buttonName);
}

void FormDriver::query(const BatchOptions& options) {
    if (auto* fcb = m_form->findChild<QComboBox*>("FCB"); !selectText(fcb, options.view))
        m_err << "kestrane: there is no view " << options.view << "\n";
    if (options.from.isValid())
        m_form->findChild<QDateEdit*>("FDTPStart")->setDate(options.from);
    if (options.to.isValid())
        m_form->findChild<QDateEdit*>("FDTPEnd")->setDate(options.to);
    answerConditionDialog(options.conditions);
    press("btnSearch");
}

void FormDriver::filter(const QList<ConditionInput>& rows) {
    answerConditionDialog(rows);
    press("btnFilter");
}

bool FormDriver::screenshot(const QString& path) const {
    return m_form && m_form->grab().save(path, "PNG");
}

QTableView* FormDriver::grid() const {
    return m_form ? m_form->findChild<QTableView*>("dgdView") : nullptr;
}

QStringList FormDriver::footers() const {
    auto* view = m_form ? m_form->findChild<QTableView*>("dgdView") : nullptr;
    return view ? view->property("footerValues").toStringList() : QStringList();
}

} // namespace kestrane::batch

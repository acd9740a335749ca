#include "tests/session/TestForms.h"

#include "app/session/FormResolver.h"
#include "app/session/ProgramSession.h"

#include "platform/forms/CheckBoxValue.h"
#include "platform/forms/DefaultInstance.h"
#include "platform/settings/SettingsStore.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWindow>

using forms::DefaultInstance;

namespace {

template <class W> W* add(QWidget* form, const char* name)
{
    auto* widget = new W(form);
    widget->setObjectName(QLatin1String(name));
    form->layout()->addWidget(widget);
    return widget;
}

} // namespace

TestMainWindow::TestMainWindow()
{
    setObjectName(QStringLiteral("frmmain"));
    new QVBoxLayout(this);
    txtImportFileBox = add<QLineEdit>(this, "txtImportFile");
    TxtLineNo = add<QLineEdit>(this, "TxtLineNo");
    TxtCurrentLine = add<QLineEdit>(this, "TxtCurrentLine");
    lblStatus = add<QLabel>(this, "lblStatus");
    LblCorvelVersion = add<QLabel>(this, "LblCorvelVersion");
    lblconame = add<QLabel>(this, "lblconame");
    lblVersionBox = add<QLabel>(this, "lblVersion");
    ValidationProgressBar = add<QProgressBar>(this, "ValidationProgressBar");
}

void TestMainWindow::formLoad()
{
    ++loads;
    const QString version = settings::readSetting(QStringLiteral("VorlenVersion"));
    LblCorvelVersion->setText(QStringLiteral("V") + version.left(2));
}

QString TestMainWindow::txtImportFile() const { return txtImportFileBox->text(); }
void TestMainWindow::setTxtImportFile(const QString& text) { txtImportFileBox->setText(text); }
void TestMainWindow::setTxtLineNo(const QString& text) { TxtLineNo->setText(text); }
void TestMainWindow::setTxtCurrentLine(const QString& text) { TxtCurrentLine->setText(text); }
void TestMainWindow::setLblStatus(const QString& caption) { lblStatus->setText(caption); }
void TestMainWindow::setValidationProgressBarValue(int value) { ValidationProgressBar->setValue(value); }
void TestMainWindow::setValidationProgressBarMax(int maximum) { ValidationProgressBar->setMaximum(maximum); }
void TestMainWindow::setValidationProgressBarVisible(bool visible) { ValidationProgressBar->setVisible(visible); }
QString TestMainWindow::lblCorvelVersion() const { return LblCorvelVersion->text(); }
void TestMainWindow::setLblCorvelVersion(const QString& caption) { LblCorvelVersion->setText(caption); }
void TestMainWindow::setLblconame(const QString& caption) { lblconame->setText(caption); }
QString TestMainWindow::lblVersion() const { return lblVersionBox->text(); }
void TestMainWindow::setLblVersion(const QString& caption) { lblVersionBox->setText(caption); }

TestImportLog::TestImportLog()
{
    setObjectName(QStringLiteral("frmErrors"));
    new QVBoxLayout(this);
    txtImportTextBox = add<QPlainTextEdit>(this, "txtImportText");
    txtImportTextBox->setReadOnly(true);
}

void TestImportLog::formLoad()
{
    ++loads;
    txtImportTextBox->setPlainText(session::ProgramSession::current()->importLog().text());
}

QString TestImportLog::txtImportText() const { return txtImportTextBox->toPlainText(); }
void TestImportLog::setTxtImportText(const QString& text) { txtImportTextBox->setPlainText(text); }

void TestImportLog::appendTxtImportText(const QString& text)
{
    txtImportTextBox->moveCursor(QTextCursor::End);
    txtImportTextBox->insertPlainText(text);
}

TestErrorList::TestErrorList()
{
    setObjectName(QStringLiteral("FrmErrlog"));
    new QVBoxLayout(this);
    ListView1 = add<QTreeWidget>(this, "ListView1");
    ListView1->setHeaderLabels({QStringLiteral("Error Description"), QStringLiteral("Line No."),
                                QStringLiteral("Error Column"), QStringLiteral("Error Value")});
}

void TestErrorList::clearListView1() { ListView1->clear(); }
int32_t TestErrorList::listView1Count() const { return ListView1->topLevelItemCount(); }

void TestErrorList::addListView1Row(int32_t position, const QString& description, const QString& lineNo,
                                    const QString& column, const QString& value)
{
    ListView1->insertTopLevelItem(position - 1, new QTreeWidgetItem({description, lineNo, column, value}));
}

void TestErrorList::showModal()
{
    ++modalShown;
    QTimer::singleShot(0, this, [this]() {
        QWindow* parent = windowHandle() ? windowHandle()->transientParent() : nullptr;
        TestMainWindow& main = DefaultInstance<TestMainWindow>::get();
        shownOver = parent && parent == main.windowHandle() ? &main : nullptr;
        hide();
    });
    Form::showModal(&DefaultInstance<TestMainWindow>::get());
}

TestSettingsForm::TestSettingsForm()
{
    setObjectName(QStringLiteral("frmSettings"));
    new QVBoxLayout(this);
    TxtDatapath = add<QLineEdit>(this, "TxtDatapath");
    TxtHiddenVersion = add<QLineEdit>(this, "TxtHiddenVersion");
    txthiddencompanynameBox = add<QLineEdit>(this, "txthiddencompanyname");
    txtUserNameBox = add<QLineEdit>(this, "txtUserName");
    txtPasswordBox = add<QLineEdit>(this, "txtPassword");
    CbxCustomerPricing = add<QCheckBox>(this, "CbxCustomerPricing");
    Cbxoverridevorlenproductdescription = add<QCheckBox>(this, "Cbxoverridevorlenproductdescription");
    Cbxtakevorlenpriceifpricezero = add<QCheckBox>(this, "Cbxtakevorlenpriceifpricezero");
}

void TestSettingsForm::formLoad()
{
    ++loads;
    TxtDatapath->setText(settings::readSetting(QStringLiteral("VorlenDataPath")));
    TxtHiddenVersion->setText(settings::readSetting(QStringLiteral("VorlenVersion")));
    txthiddencompanynameBox->setText(settings::readSetting(QStringLiteral("VorlenCompanyName")));
    txtUserNameBox->setText(settings::readSetting(QStringLiteral("VorlenUsername")));
    txtPasswordBox->setText(settings::readSetting(QStringLiteral("VorlenPassword")));
    CbxCustomerPricing->setChecked(settings::readSetting(QStringLiteral("CheckCustomerPricing")) == QLatin1String("1"));
}

QString TestSettingsForm::txtDatapath() const { return TxtDatapath->text(); }
void TestSettingsForm::setTxtDatapath(const QString& text) { TxtDatapath->setText(text); }
QString TestSettingsForm::txtHiddenVersion() const { return TxtHiddenVersion->text(); }
QString TestSettingsForm::txthiddencompanyname() const { return txthiddencompanynameBox->text(); }
QString TestSettingsForm::txtUserName() const { return txtUserNameBox->text(); }
QString TestSettingsForm::txtPassword() const { return txtPasswordBox->text(); }
int TestSettingsForm::cbxCustomerPricing() const { return forms::checkBoxValue(*CbxCustomerPricing); }
int TestSettingsForm::cbxoverridevorlenproductdescription() const
{
    return forms::checkBoxValue(*Cbxoverridevorlenproductdescription);
}
int TestSettingsForm::cbxtakevorlenpriceifpricezero() const { return forms::checkBoxValue(*Cbxtakevorlenpriceifpricezero); }

void registerTestForms(session::ProgramSession& s)
{
    using session::defaultInstanceOf;
    s.mainWindow().form.install(defaultInstanceOf<importer::MainWindowView, TestMainWindow>());
    s.importLog().form.install(defaultInstanceOf<importer::ImportLogView, TestImportLog>());
    s.errorList().form.install(defaultInstanceOf<importer::ErrorListView, TestErrorList>());
    s.settingsForm().form.install(defaultInstanceOf<importer::SettingsFormView, TestSettingsForm>());
}

void unloadTestForms()
{
    DefaultInstance<TestMainWindow>::unload();
    DefaultInstance<TestImportLog>::unload();
    DefaultInstance<TestErrorList>::unload();
    DefaultInstance<TestSettingsForm>::unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void resetFormCounts()
{
    FormCounts<TestMainWindow>::loads = FormCounts<TestMainWindow>::unloads = 0;
    FormCounts<TestImportLog>::loads = FormCounts<TestImportLog>::unloads = 0;
    FormCounts<TestErrorList>::loads = FormCounts<TestErrorList>::unloads = 0;
    FormCounts<TestSettingsForm>::loads = FormCounts<TestSettingsForm>::unloads = 0;
    TestErrorList::modalShown = 0;
    TestErrorList::shownOver = nullptr;
}

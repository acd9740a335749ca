#include "app/mainwindow/StandInForms.h"

#include "app/mainwindow/frmmain.h"
#include "app/session/ProgramSession.h"

#include "platform/forms/CheckBoxValue.h"
#include "platform/forms/DefaultInstance.h"
#include "platform/settings/SettingsStore.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>
#include <QTreeWidget>

#include <utility>
#include <QVBoxLayout>

namespace mainwindow {

namespace {

template <class W> W* named(QWidget* form, const char* name)
{
    auto* widget = new W(form);
    widget->setObjectName(QLatin1String(name));
    form->layout()->addWidget(widget);
    return widget;
}

QString stored(const char* key)
{
    return settings::readSetting(QLatin1String(key));
}

} // namespace

StandInSettings::StandInSettings()
{
    setObjectName(QStringLiteral("frmSettings"));
    setWindowTitle(QStringLiteral("Settings"));
    new QVBoxLayout(this);
    TxtDatapath = named<QLineEdit>(this, "TxtDatapath");
    TxtHiddenVersion = named<QLineEdit>(this, "TxtHiddenVersion");
    txthiddencompanynameBox = named<QLineEdit>(this, "txthiddencompanyname");
    txtUserNameBox = named<QLineEdit>(this, "txtUserName");
    txtPasswordBox = named<QLineEdit>(this, "txtPassword");
    TextSourcePath = named<QLineEdit>(this, "TextSourcePath");
    TextSuccessPath = named<QLineEdit>(this, "TextSuccessPath");
    TextErrorLogPath = named<QLineEdit>(this, "TextErrorLogPath");
    CbxCustomerPricing = named<QCheckBox>(this, "CbxCustomerPricing");
    Cbxoverridevorlenproductdescription = named<QCheckBox>(this, "Cbxoverridevorlenproductdescription");
    Cbxtakevorlenpriceifpricezero = named<QCheckBox>(this, "Cbxtakevorlenpriceifpricezero");
    TxtHiddenVersion->hide();
    txthiddencompanynameBox->hide();
}

void StandInSettings::formLoad()
{
    TxtDatapath->setText(stored("VorlenDataPath"));
    TxtHiddenVersion->setText(stored("VorlenVersion"));
    txthiddencompanynameBox->setText(stored("VorlenCompanyName"));
    txtUserNameBox->setText(stored("VorlenUsername"));
    txtPasswordBox->setText(stored("VorlenPassword"));
    TextSourcePath->setText(stored("BatchSourcePath"));
    TextSuccessPath->setText(stored("BatchSuccessPath"));
    TextErrorLogPath->setText(stored("BatchErrorlogPath"));
    CbxCustomerPricing->setChecked(stored("CheckCustomerPricing") == QLatin1String("1"));
}

QString StandInSettings::txtDatapath() const { return TxtDatapath->text(); }
void StandInSettings::setTxtDatapath(const QString& text) { TxtDatapath->setText(text); }
QString StandInSettings::txtHiddenVersion() const { return TxtHiddenVersion->text(); }
QString StandInSettings::txthiddencompanyname() const { return txthiddencompanynameBox->text(); }
QString StandInSettings::txtUserName() const { return txtUserNameBox->text(); }
QString StandInSettings::txtPassword() const { return txtPasswordBox->text(); }
int StandInSettings::cbxCustomerPricing() const { return forms::checkBoxValue(*CbxCustomerPricing); }
int StandInSettings::cbxoverridevorlenproductdescription() const
{
    return forms::checkBoxValue(*Cbxoverridevorlenproductdescription);
}
int StandInSettings::cbxtakevorlenpriceifpricezero() const { return forms::checkBoxValue(*Cbxtakevorlenpriceifpricezero); }
QString StandInSettings::textSourcePath() const { return TextSourcePath->text(); }
QString StandInSettings::textSuccessPath() const { return TextSuccessPath->text(); }
QString StandInSettings::textErrorLogPath() const { return TextErrorLogPath->text(); }
void StandInSettings::setCbxCustomerPricingVisible(bool visible) { CbxCustomerPricing->setVisible(visible); }
void StandInSettings::setCbxCustomerPricing(int value)
{
    forms::setCheckBoxValue(*CbxCustomerPricing, value);
}

StandInAbout::StandInAbout()
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Quillar"));
    resize(320, 160);
}

StandInImportLog::StandInImportLog()
{
    setObjectName(QStringLiteral("frmErrors"));
    setWindowTitle(QStringLiteral("Import Log"));
    new QVBoxLayout(this);
    txtImportTextBox = named<QPlainTextEdit>(this, "txtImportText");
    txtImportTextBox->setReadOnly(true);
    resize(640, 400);
}

void StandInImportLog::formLoad()
{
    txtImportTextBox->setPlainText(session::ProgramSession::current()->importLog().text());
}

QString StandInImportLog::txtImportText() const { return txtImportTextBox->toPlainText() + m_appended; }

void StandInImportLog::setTxtImportText(const QString& text)
{
    m_appended.clear();
    txtImportTextBox->setPlainText(text);
}

void StandInImportLog::appendTxtImportText(const QString& text)
{
    m_appended += text;
    if (!m_showQueued) {
        m_showQueued = true;
        QTimer::singleShot(0, this, [this] { showAppended(); });
    }
}

void StandInImportLog::showAppended()
{
    m_showQueued = false;
    if (m_appended.isEmpty())
        return;
    txtImportTextBox->moveCursor(QTextCursor::End);
    txtImportTextBox->insertPlainText(std::exchange(m_appended, QString()));
}

void StandInImportLog::showEvent(QShowEvent* event)
{
    showAppended();
    Form::showEvent(event);
}

void StandInImportLog::show() { QWidget::show(); }

StandInErrorList::StandInErrorList()
{
    setObjectName(QStringLiteral("FrmErrlog"));
    setWindowTitle(QStringLiteral("Error List"));
    new QVBoxLayout(this);
    ListView1 = named<QTreeWidget>(this, "ListView1");
    ListView1->setRootIsDecorated(false);
    ListView1->setHeaderLabels({QStringLiteral("Error Description"), QStringLiteral("Line No."),
                                QStringLiteral("Error Column"), QStringLiteral("Error Value")});
    resize(640, 400);
}

void StandInErrorList::clearListView1() { ListView1->clear(); }
int32_t StandInErrorList::listView1Count() const { return ListView1->topLevelItemCount(); }

void StandInErrorList::addListView1Row(int32_t position, const QString& description, const QString& lineNo,
                                       const QString& column, const QString& value)
{
    ListView1->insertTopLevelItem(position - 1, new QTreeWidgetItem({description, lineNo, column, value}));
}

void StandInErrorList::showModal()
{
    frmmain& mainWindow = forms::DefaultInstance<frmmain>::get();
    mainWindow.showPendingProgress();
    Form::showModal(&mainWindow);
}

} // namespace mainwindow

#include "app/mainwindow/StandInForms.h"

#include "platform/forms/CheckBoxValue.h"
#include "platform/settings/SettingsStore.h"

#include <QCheckBox>
#include <QLineEdit>
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

} // namespace mainwindow

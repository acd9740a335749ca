#pragma once

#include "app/import/SettingsFormView.h"

#include "platform/forms/Form.h"

class QCheckBox;
class QLineEdit;

// Plain stand-ins of forms that are not built yet, so that the main window can open
// them and a whole import runs from it: each has its name and the controls the
// import and the main window touch, nothing more. Delete a class when its form lands
// (and its lines in OtherForms.cpp).
namespace mainwindow {

// frmSettings: the boxes hold the stored settings (read when it loads).
class StandInSettings : public forms::Form, public importer::SettingsFormView
{
public:
    StandInSettings();

    QLineEdit* TxtDatapath;
    QLineEdit* TxtHiddenVersion;
    QLineEdit* txthiddencompanynameBox;
    QLineEdit* txtUserNameBox;
    QLineEdit* txtPasswordBox;
    QLineEdit* TextSourcePath;
    QLineEdit* TextSuccessPath;
    QLineEdit* TextErrorLogPath;
    QCheckBox* CbxCustomerPricing;
    QCheckBox* Cbxoverridevorlenproductdescription;
    QCheckBox* Cbxtakevorlenpriceifpricezero;

    QString txtDatapath() const override;
    void setTxtDatapath(const QString& text) override;
    QString txtHiddenVersion() const override;
    QString txthiddencompanyname() const override;
    QString txtUserName() const override;
    QString txtPassword() const override;
    int cbxCustomerPricing() const override;
    int cbxoverridevorlenproductdescription() const override;
    int cbxtakevorlenpriceifpricezero() const override;
    QString textSourcePath() const override;
    QString textSuccessPath() const override;
    QString textErrorLogPath() const override;
    void setCbxCustomerPricingVisible(bool visible) override;
    void setCbxCustomerPricing(int value) override;

protected:
    void formLoad() override;
};

// frmAbout: an empty box.
class StandInAbout : public forms::Form
{
public:
    StandInAbout();
};

} // namespace mainwindow

#pragma once

#include "app/import/ErrorListView.h"
#include "app/import/ImportLogView.h"
#include "app/import/SettingsFormView.h"

#include "platform/forms/Form.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QTreeWidget;

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

// frmErrors: the import log as plain text.
class StandInImportLog : public forms::Form, public importer::ImportLogView
{
public:
    StandInImportLog();

    QPlainTextEdit* txtImportTextBox;

    QString txtImportText() const override;
    void setTxtImportText(const QString& text) override;
    void appendTxtImportText(const QString& text) override;
    void show() override;

protected:
    // Shows the session's log, as a log window loaded again must.
    void formLoad() override;
    void showEvent(QShowEvent* event) override;

private:
    // Appended text not yet in the box: it goes in once the event loop runs again
    // (or the form is shown), in one piece rather than a line at a time.
    void showAppended();
    QString m_appended;
    bool m_showQueued = false;
};

// FrmErrlog: the error list.
class StandInErrorList : public forms::Form, public importer::ErrorListView
{
public:
    StandInErrorList();

    QTreeWidget* ListView1;

    void clearListView1() override;
    int32_t listView1Count() const override;
    void addListView1Row(int32_t position, const QString& description, const QString& lineNo,
                         const QString& column, const QString& value) override;
    // Modal over the main window.
    void showModal() override;
};

} // namespace mainwindow

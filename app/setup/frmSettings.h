#pragma once

#include "app/import/SettingsFormView.h"
#include "app/setup/SettingsOptions.h"
#include "app/setup/companies/CompanyList.h"
#include "app/setup/companies/InstallationSearch.h"

#include "platform/forms/Form.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QCloseEvent;
class QLineEdit;

namespace session {
class ProgramSession;
}
namespace widgets {
class ListItem;
}
namespace Ui {
class frmSettings;
}

// The settings form: every setting of the store in one window, the package's
// program folder and company list, the search for the package's installations and
// the batch folders. Other forms and the import read its boxes through its default
// instance (the import through the session's forwarding view), so while it is open
// they see what the user typed, saved or not; touching a box of the unloaded form
// loads it hidden from the store.
class frmSettings : public forms::Form, public importer::SettingsFormView, public setup::SettingsOptions
{
public:
    frmSettings();
    ~frmSettings() override;

    // The controls, named as the windows name them; other forms reach them as the
    // system does (DefaultInstance<frmSettings>::get().m_ui->TextSourcePath).
    std::unique_ptr<Ui::frmSettings> m_ui;

    // SettingsFormView: the boxes the import and the main window read.
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
    // The main window's load applies the Customer Pricing rule through these.
    void setCbxCustomerPricingVisible(bool visible) override;
    void setCbxCustomerPricing(int value) override;

    // SettingsOptions: the option boxes the layout editor reads, as they stand now.
    int cbxCashWithInvoice() const override;
    int cbximporttransno() const override;
    int16_t ImportToSop() const override;

    // Enables the main window's Select File menu entry and its first toolbar button
    // when the main window shows a version code from "V10" to "V23".
    void EnableImportForVersion();
    // Shows Apply Customer Pricing for the version codes "V12" to "V23" of the main
    // window's label; for any other label hides and clears it. The main window's
    // load applies it too.
    void applyCustomerPricingRule();
    // The companies of a company file (CompanyList.h), three entries per company in
    // the order name, data folder, version.
    QStringList GetCompanyName(const QString& companyFile);
    // The installation folders on the fixed drives (InstallationSearch.h).
    QStringList GetVorlenPath();

    // The layout editor as Save and the File Structure button use it: the setup
    // forms' registration installs FrmFileStructure's default instance (tests may
    // install their own); with none installed Save reads the column file as the
    // editor would load it, and the button opens nothing.
    struct FileStructureEditor
    {
        // The texts of the editor's 54 field boxes, the editor loaded hidden when it
        // is not loaded. Given the configuration folder Save checked.
        std::function<QStringList(const QString& configFolder)> fieldTexts;
        // Shows the editor modal over the settings form.
        std::function<void(QWidget* owner)> showModal;
    };
    static FileStructureEditor& fileStructureEditor();

protected:
    void formLoad() override;
    void closeEvent(QCloseEvent* event) override;

private:
    session::ProgramSession& programSession() const;
    void connectControls();

    // Save, in its steps.
    void btnSave_Click();
    bool checkConfigFolder();
    bool checkLayout(bool configFolderValid);
    bool checkInterval();
    void writeSettings();
    void btnCancel_Click();
    void CmdFileStructure_Click();
    void browseFolder(QLineEdit* box, const QString& caption);

    void cbxCashWithInvoice_Click();
    void CbxImportToSop_Click();

    // The program folder and the company list.
    void Dir1_Change();
    void Drive1_Change();
    void BrowseBtn_Click();
    void Vorlenpath_LostFocus();
    void FillCompanyList(const companies::CompanyListing& listing);
    void ListViewCompanyName_ItemCheck(widgets::ListItem* item);
    void ListViewCompanyName_Click();
    void takeCompany(widgets::ListItem* row);
    void showVorlenVersion();

    // The installation search.
    void SearchBtn_Click();
    void BTNStopSearch_Click();
    void lockForSearch(bool locked);
    void endSearchDisplay();

    bool m_checkEventSeen = false;
    bool m_searching = false;
    companies::InstallationSearch m_search;
};

#pragma once

#include "app/import/ErrorListView.h"
#include "app/import/ImportLogView.h"
#include "app/import/MainWindowView.h"
#include "app/import/SettingsFormView.h"

#include "platform/forms/Form.h"

#include <QMap>
#include <QString>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QTreeWidget;
class QWidget;

namespace session {
class ProgramSession;
}

// Small stand-ins of the four windows the import reports to, real widgets named
// after their controls, each counting its loads and unloads. registerTestForms
// installs their default instances into a session's views.
template <class F> struct FormCounts
{
    static inline int loads = 0;
    static inline int unloads = 0;
};

class TestMainWindow : public forms::Form, public importer::MainWindowView, public FormCounts<TestMainWindow>
{
public:
    TestMainWindow();

    QLineEdit* txtImportFileBox;
    QLineEdit* TxtLineNo;
    QLineEdit* TxtCurrentLine;
    QLabel* lblStatus;
    QLabel* LblCorvelVersion;
    QLabel* lblconame;
    QLabel* lblVersionBox;
    QProgressBar* ValidationProgressBar;
    QMap<int, bool> toolbarEnabled;
    QMap<int, QString> toolbarCaption;
    bool errorsFound = false, noErrorFound = false, imgRed = false;
    bool mnuFilenew = false, mnuFileViewErrors = false, mnuFileStartImport = false;
    QString mnuFileStartImportCaption, clipPlayed;

    void setToolbarButtonEnabled(int index, bool enabled) override { toolbarEnabled[index] = enabled; }
    void setToolbarButtonCaption(int index, const QString& caption) override { toolbarCaption[index] = caption; }
    QString txtImportFile() const override;
    void setTxtImportFile(const QString& text) override;
    void setTxtLineNo(const QString& text) override;
    void setTxtCurrentLine(const QString& text) override;
    void setLblStatus(const QString& caption) override;
    void setValidationProgressBarValue(int value) override;
    void setValidationProgressBarMax(int maximum) override;
    void setValidationProgressBarVisible(bool visible) override;
    void playAnimation1(const QString& clipPath) override { clipPlayed = clipPath; }
    void stopAnimation1() override {}
    void setAnimation1Visible(bool) override {}
    void setErrorsFoundIMG(bool visible, bool) override { errorsFound = visible; }
    void setNoErrorFoundIMG(bool visible, bool) override { noErrorFound = visible; }
    void setImgRedVisible(bool visible) override { imgRed = visible; }
    void setMnuFilenewEnabled(bool enabled) override { mnuFilenew = enabled; }
    void setMnuFileViewErrorsEnabled(bool enabled) override { mnuFileViewErrors = enabled; }
    void setMnuFileStartImportEnabled(bool enabled) override { mnuFileStartImport = enabled; }
    void setMnuFileStartImportCaption(const QString& caption) override { mnuFileStartImportCaption = caption; }
    QString lblCorvelVersion() const override;
    void setLblCorvelVersion(const QString& caption) override;
    void setLblconame(const QString& caption) override;
    QString lblVersion() const override;
    void setLblVersion(const QString& caption) override;

protected:
    // Shows the package version of the stored company, as the main window's load does.
    void formLoad() override;
    void formUnload() override { ++unloads; }
};

class TestImportLog : public forms::Form, public importer::ImportLogView, public FormCounts<TestImportLog>
{
public:
    TestImportLog();

    QPlainTextEdit* txtImportTextBox;

    QString txtImportText() const override;
    void setTxtImportText(const QString& text) override;
    void appendTxtImportText(const QString& text) override;
    void show() override { QWidget::show(); }

protected:
    // Displays the session's log, as a reloaded log window must.
    void formLoad() override;
    void formUnload() override { ++unloads; }
};

class TestErrorList : public forms::Form, public importer::ErrorListView, public FormCounts<TestErrorList>
{
public:
    TestErrorList();

    QTreeWidget* ListView1;
    static inline int modalShown = 0;
    // The window the list was modal over, as its transient parent showed it.
    static inline QWidget* shownOver = nullptr;

    void clearListView1() override;
    int32_t listView1Count() const override;
    void addListView1Row(int32_t position, const QString& description, const QString& lineNo,
                         const QString& column, const QString& value) override;
    // Modal over the main window; the user closes it at once.
    void showModal() override;

protected:
    void formLoad() override { ++loads; }
    void formUnload() override { ++unloads; }
};

class TestSettingsForm : public forms::Form, public importer::SettingsFormView, public FormCounts<TestSettingsForm>
{
public:
    TestSettingsForm();

    QLineEdit* TxtDatapath;
    QLineEdit* TxtHiddenVersion;
    QLineEdit* txthiddencompanynameBox;
    QLineEdit* txtUserNameBox;
    QLineEdit* txtPasswordBox;
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

protected:
    // Reads the stored settings into the boxes.
    void formLoad() override;
    void formUnload() override { ++unloads; }
};

void registerTestForms(session::ProgramSession& session);
// Unloads all four forms and lets their deletion happen.
void unloadTestForms();
void resetFormCounts();

#pragma once

#include "app/import/MainWindowView.h"
#include "app/import/SettingsFormView.h"

#include "platform/forms/Form.h"

#include <QMap>
#include <QString>

namespace session {
class ProgramSession;
}

// Stand-ins of the main window and the settings form, the two windows the viewers'
// Refresh reaches besides themselves: they keep what is set and read the stored
// settings as the real forms do.
class StandInMainWindow : public forms::Form, public importer::MainWindowView
{
public:
    StandInMainWindow() { setObjectName(QStringLiteral("frmmain")); }

    QString importFile, lblCorvelVersionText, mnuFileStartImportCaption;
    QMap<int, QString> toolbarCaption;

    void setToolbarButtonEnabled(int, bool) override {}
    void setToolbarButtonCaption(int index, const QString& caption) override
    {
        toolbarCaption[index] = caption;
    }
    QString txtImportFile() const override { return importFile; }
    void setTxtImportFile(const QString& text) override { importFile = text; }
    void setTxtLineNo(const QString&) override {}
    void setTxtCurrentLine(const QString&) override {}
    void setLblStatus(const QString&) override {}
    void setValidationProgressBarValue(int) override {}
    void setValidationProgressBarMax(int) override {}
    void setValidationProgressBarVisible(bool) override {}
    void playAnimation1(const QString&) override {}
    void stopAnimation1() override {}
    void setAnimation1Visible(bool) override {}
    void setErrorsFoundIMG(bool, bool) override {}
    void setNoErrorFoundIMG(bool, bool) override {}
    void setImgRedVisible(bool) override {}
    void setMnuFilenewEnabled(bool) override {}
    void setMnuFileViewErrorsEnabled(bool) override {}
    void setMnuFileStartImportEnabled(bool) override {}
    void setMnuFileStartImportCaption(const QString& caption) override
    {
        mnuFileStartImportCaption = caption;
    }
    QString lblCorvelVersion() const override { return lblCorvelVersionText; }
    void setLblCorvelVersion(const QString& caption) override { lblCorvelVersionText = caption; }
    void setLblconame(const QString&) override {}
    void setLblVersion(const QString&) override {}

protected:
    void formLoad() override;
};

class StandInSettingsForm : public forms::Form, public importer::SettingsFormView
{
public:
    StandInSettingsForm() { setObjectName(QStringLiteral("frmSettings")); }

    QString TxtDatapath;

    QString txtDatapath() const override { return TxtDatapath; }
    void setTxtDatapath(const QString& text) override { TxtDatapath = text; }
    QString txtHiddenVersion() const override;
    QString txthiddencompanyname() const override;
    QString txtUserName() const override;
    QString txtPassword() const override;
    int cbxCustomerPricing() const override { return 0; }
    int cbxoverridevorlenproductdescription() const override { return 0; }
    int cbxtakevorlenpriceifpricezero() const override { return 0; }

protected:
    void formLoad() override;
};

// Installs the stand-ins into the session's main-window and settings-form views.
void registerStandInForms(session::ProgramSession& session);
// Unloads the stand-ins and both viewers, and lets their deletion happen.
void unloadAllForms();

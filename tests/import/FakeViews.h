#pragma once

#include "app/import/ErrorListView.h"
#include "app/import/ImportLogView.h"
#include "app/import/MainWindowView.h"
#include "app/import/SettingsFormView.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <vector>

// Windows of the import recorded in memory.
struct FakeMainWindow : importer::MainWindowView
{
    QMap<int, bool> toolbarEnabled;
    QMap<int, QString> toolbarCaption;
    QString importFile, lineNo, currentLine, status;
    QStringList statusHistory;
    int progressValue = 0, progressMax = 0;
    bool progressVisible = false;
    QString clipPlayed;
    int animationStops = 0;
    bool animationVisible = true;
    bool errorsFoundVisible = false, noErrorFoundVisible = false, imgRed = false;
    bool errorsFoundEnabled = true;
    bool mnuFilenew = true, mnuFileViewErrors = false, mnuFileStartImport = true;
    QString mnuFileStartImportCaption;
    QString corvelVersion, coname, version;

    void setToolbarButtonEnabled(int index, bool enabled) override { toolbarEnabled[index] = enabled; }
    void setToolbarButtonCaption(int index, const QString& caption) override
    {
        toolbarCaption[index] = caption;
    }
    QString txtImportFile() const override { return importFile; }
    void setTxtImportFile(const QString& text) override { importFile = text; }
    void setTxtLineNo(const QString& text) override { lineNo = text; }
    void setTxtCurrentLine(const QString& text) override { currentLine = text; }
    void setLblStatus(const QString& caption) override
    {
        status = caption;
        if (recordStatus)
            statusHistory << caption;
    }
    void setValidationProgressBarValue(int value) override { progressValue = value; }
    void setValidationProgressBarMax(int maximum) override { progressMax = maximum; }
    void setValidationProgressBarVisible(bool visible) override { progressVisible = visible; }
    void playAnimation1(const QString& clipPath) override { clipPlayed = clipPath; }
    void stopAnimation1() override { ++animationStops; }
    void setAnimation1Visible(bool visible) override { animationVisible = visible; }
    void setErrorsFoundIMG(bool visible, bool enabled) override
    {
        errorsFoundVisible = visible;
        errorsFoundEnabled = enabled;
    }
    void setNoErrorFoundIMG(bool visible, bool) override { noErrorFoundVisible = visible; }
    void setImgRedVisible(bool visible) override { imgRed = visible; }
    void setMnuFilenewEnabled(bool enabled) override { mnuFilenew = enabled; }
    void setMnuFileViewErrorsEnabled(bool enabled) override { mnuFileViewErrors = enabled; }
    void setMnuFileStartImportEnabled(bool enabled) override { mnuFileStartImport = enabled; }
    void setMnuFileStartImportCaption(const QString& caption) override { mnuFileStartImportCaption = caption; }
    QString lblCorvelVersion() const override { return corvelVersion; }
    void setLblCorvelVersion(const QString& caption) override { corvelVersion = caption; }
    void setLblconame(const QString& caption) override { coname = caption; }
    QString lblVersion() const override { return version; }
    void setLblVersion(const QString& caption) override { version = caption; }

    bool recordStatus = false;
};

struct FakeImportLog : importer::ImportLogView
{
    QString text;
    QString txtImportText() const override { return text; }
    void setTxtImportText(const QString& t) override { text = t; }
    void appendTxtImportText(const QString& t) override { text += t; }
    void show() override { ++shown; }
    int shown = 0;
};

struct ErrorRow
{
    QString description, lineNo, column, value;
};

struct FakeErrorList : importer::ErrorListView
{
    std::vector<ErrorRow> rows;
    int modalShown = 0;
    void clearListView1() override { rows.clear(); }
    int32_t listView1Count() const override { return int32_t(rows.size()); }
    void addListView1Row(int32_t position, const QString& d, const QString& l, const QString& c,
                         const QString& v) override;
    void showModal() override { ++modalShown; }
};

struct FakeSettingsForm : importer::SettingsFormView
{
    QString datapath, hiddenVersion = QStringLiteral("23.0"), companyName = QStringLiteral("Demo Ltd");
    QString userName = QStringLiteral("MANAGER"), password;
    QString txtDatapath() const override { return datapath; }
    void setTxtDatapath(const QString& text) override { datapath = text; }
    QString txtHiddenVersion() const override { return hiddenVersion; }
    QString txthiddencompanyname() const override { return companyName; }
    QString txtUserName() const override { return userName; }
    QString txtPassword() const override { return password; }
    int customerPricing = 0, overrideDescription = 0, takePriceIfZero = 0;
    int cbxCustomerPricing() const override { return customerPricing; }
    int cbxoverridevorlenproductdescription() const override { return overrideDescription; }
    int cbxtakevorlenpriceifpricezero() const override { return takePriceIfZero; }
};

#pragma once

#include "app/import/ErrorListView.h"
#include "app/import/ImportLogView.h"
#include "app/import/MainWindowView.h"
#include "app/import/SettingsFormView.h"

#include <QString>

#include <functional>
#include <utility>

// The windows as the import sees them. Each view forwards every call to the form
// its resolver names at the moment of the call (the form's default instance), so
// touching a box of an unloaded form loads it hidden and nothing keeps a reference
// to a form past its unload. A form library installs the resolver of each form it
// builds (FormResolver.h); a view without a resolver raises std::logic_error,
// which is a wiring fault of the program, not a condition the import handles.
namespace session {

[[noreturn]] void throwUnresolvedView(const char* formName);

template <class View> class ViewResolver
{
public:
    using Resolve = std::function<View&()>;

    explicit ViewResolver(const char* formName) : m_formName(formName) {}

    // Installs the resolver and returns the previous one (empty to remove it).
    Resolve install(Resolve resolve) { return std::exchange(m_resolve, std::move(resolve)); }
    bool installed() const { return bool(m_resolve); }
    const char* formName() const { return m_formName; }

    View& operator()() const
    {
        if (!m_resolve)
            throwUnresolvedView(m_formName);
        return m_resolve();
    }

private:
    const char* m_formName;
    Resolve m_resolve;
};

// frmmain.
class ForwardingMainWindow : public importer::MainWindowView
{
public:
    ViewResolver<importer::MainWindowView> form{"frmmain"};

    void setToolbarButtonEnabled(int index, bool enabled) override;
    void setToolbarButtonCaption(int index, const QString& caption) override;
    QString txtImportFile() const override;
    void setTxtImportFile(const QString& text) override;
    void setTxtLineNo(const QString& text) override;
    void setTxtCurrentLine(const QString& text) override;
    void setLblStatus(const QString& caption) override;
    void setValidationProgressBarValue(int value) override;
    void setValidationProgressBarMax(int maximum) override;
    void setValidationProgressBarVisible(bool visible) override;
    void playAnimation1(const QString& clipPath) override;
    void stopAnimation1() override;
    void setAnimation1Visible(bool visible) override;
    void setErrorsFoundIMG(bool visible, bool enabled) override;
    void setNoErrorFoundIMG(bool visible, bool enabled) override;
    void setImgRedVisible(bool visible) override;
    void setMnuFilenewEnabled(bool enabled) override;
    void setMnuFileViewErrorsEnabled(bool enabled) override;
    void setMnuFileStartImportEnabled(bool enabled) override;
    void setMnuFileStartImportCaption(const QString& caption) override;
    QString lblCorvelVersion() const override;
    void setLblCorvelVersion(const QString& caption) override;
    void setLblconame(const QString& caption) override;
    QString lblVersion() const override;
    void setLblVersion(const QString& caption) override;
};

// frmErrors. The log's text lives here, exactly as the import wrote it (CR LF line
// ends and all); the form only displays it. Reading the log reads this text and
// does not touch the form. Writing first resolves the form, so a form loaded by the
// write shows the text as it was (FormResolver.h: a log form displays text() when it
// loads) and then gets the change.
class ForwardingImportLog : public importer::ImportLogView
{
public:
    ViewResolver<importer::ImportLogView> form{"frmErrors"};

    const QString& text() const { return m_text; }

    QString txtImportText() const override;
    void setTxtImportText(const QString& text) override;
    void appendTxtImportText(const QString& text) override;
    void show() override;

    // While held, appends reach only the text; the form gets them in one piece at
    // showHeldText(), so a long import does not lay out its log once per document.
    void setHeld(bool held);
    bool held() const { return m_held; }
    void showHeldText();

private:
    QString m_text;
    QString m_notShown; // the end of m_text the form has not been given yet
    bool m_held = false;
};

// FrmErrlog.
class ForwardingErrorList : public importer::ErrorListView
{
public:
    ViewResolver<importer::ErrorListView> form{"FrmErrlog"};

    void clearListView1() override;
    int32_t listView1Count() const override;
    void addListView1Row(int32_t position, const QString& description, const QString& lineNo,
                         const QString& column, const QString& value) override;
    void showModal() override;
};

// frmSettings.
class ForwardingSettingsForm : public importer::SettingsFormView
{
public:
    ViewResolver<importer::SettingsFormView> form{"frmSettings"};

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
};

} // namespace session

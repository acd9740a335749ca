#include "app/session/ForwardingViews.h"

#include <stdexcept>
#include <string>

namespace session {

void throwUnresolvedView(const char* formName)
{
    throw std::logic_error(std::string("no form is registered for ") + formName);
}

void ForwardingMainWindow::setToolbarButtonEnabled(int index, bool enabled)
{
    form().setToolbarButtonEnabled(index, enabled);
}
void ForwardingMainWindow::setToolbarButtonCaption(int index, const QString& caption)
{
    form().setToolbarButtonCaption(index, caption);
}
QString ForwardingMainWindow::txtImportFile() const { return form().txtImportFile(); }
void ForwardingMainWindow::setTxtImportFile(const QString& text) { form().setTxtImportFile(text); }
void ForwardingMainWindow::setTxtLineNo(const QString& text) { form().setTxtLineNo(text); }
void ForwardingMainWindow::setTxtCurrentLine(const QString& text) { form().setTxtCurrentLine(text); }
void ForwardingMainWindow::setLblStatus(const QString& caption) { form().setLblStatus(caption); }
void ForwardingMainWindow::setValidationProgressBarValue(int value) { form().setValidationProgressBarValue(value); }
void ForwardingMainWindow::setValidationProgressBarMax(int maximum) { form().setValidationProgressBarMax(maximum); }
void ForwardingMainWindow::setValidationProgressBarVisible(bool visible)
{
    form().setValidationProgressBarVisible(visible);
}
void ForwardingMainWindow::playAnimation1(const QString& clipPath) { form().playAnimation1(clipPath); }
void ForwardingMainWindow::stopAnimation1() { form().stopAnimation1(); }
void ForwardingMainWindow::setAnimation1Visible(bool visible) { form().setAnimation1Visible(visible); }
void ForwardingMainWindow::setErrorsFoundIMG(bool visible, bool enabled) { form().setErrorsFoundIMG(visible, enabled); }
void ForwardingMainWindow::setNoErrorFoundIMG(bool visible, bool enabled)
{
    form().setNoErrorFoundIMG(visible, enabled);
}
void ForwardingMainWindow::setImgRedVisible(bool visible) { form().setImgRedVisible(visible); }
void ForwardingMainWindow::setMnuFilenewEnabled(bool enabled) { form().setMnuFilenewEnabled(enabled); }
void ForwardingMainWindow::setMnuFileViewErrorsEnabled(bool enabled) { form().setMnuFileViewErrorsEnabled(enabled); }
void ForwardingMainWindow::setMnuFileStartImportEnabled(bool enabled)
{
    form().setMnuFileStartImportEnabled(enabled);
}
void ForwardingMainWindow::setMnuFileStartImportCaption(const QString& caption)
{
    form().setMnuFileStartImportCaption(caption);
}
QString ForwardingMainWindow::lblCorvelVersion() const { return form().lblCorvelVersion(); }
void ForwardingMainWindow::setLblCorvelVersion(const QString& caption) { form().setLblCorvelVersion(caption); }
void ForwardingMainWindow::setLblconame(const QString& caption) { form().setLblconame(caption); }
QString ForwardingMainWindow::lblVersion() const { return form().lblVersion(); }
void ForwardingMainWindow::setLblVersion(const QString& caption) { form().setLblVersion(caption); }

QString ForwardingImportLog::txtImportText() const { return m_text; }

void ForwardingImportLog::setTxtImportText(const QString& text)
{
    m_notShown.clear();
    importer::ImportLogView& shown = form();
    m_text = text;
    shown.setTxtImportText(m_text);
}

void ForwardingImportLog::appendTxtImportText(const QString& text)
{
    if (m_held) {
        m_text += text;
        m_notShown += text;
        return;
    }
    showHeldText();
    importer::ImportLogView& shown = form();
    m_text += text;
    shown.appendTxtImportText(text);
}

void ForwardingImportLog::show()
{
    showHeldText();
    form().show();
}

void ForwardingImportLog::setHeld(bool held)
{
    m_held = held;
    if (!held)
        showHeldText();
}

void ForwardingImportLog::showHeldText()
{
    if (m_notShown.isEmpty())
        return;
    const QString added = std::exchange(m_notShown, {});
    // A form loaded by this call shows the text without the held end, then gets it.
    m_text.chop(added.size());
    importer::ImportLogView& shown = form();
    m_text += added;
    shown.appendTxtImportText(added);
}

void ForwardingErrorList::clearListView1() { form().clearListView1(); }
int32_t ForwardingErrorList::listView1Count() const { return form().listView1Count(); }
void ForwardingErrorList::addListView1Row(int32_t position, const QString& description, const QString& lineNo,
                                          const QString& column, const QString& value)
{
    form().addListView1Row(position, description, lineNo, column, value);
}
void ForwardingErrorList::showModal() { form().showModal(); }

QString ForwardingSettingsForm::txtDatapath() const { return form().txtDatapath(); }
void ForwardingSettingsForm::setTxtDatapath(const QString& text) { form().setTxtDatapath(text); }
QString ForwardingSettingsForm::txtHiddenVersion() const { return form().txtHiddenVersion(); }
QString ForwardingSettingsForm::txthiddencompanyname() const { return form().txthiddencompanyname(); }
QString ForwardingSettingsForm::txtUserName() const { return form().txtUserName(); }
QString ForwardingSettingsForm::txtPassword() const { return form().txtPassword(); }
int ForwardingSettingsForm::cbxCustomerPricing() const { return form().cbxCustomerPricing(); }
int ForwardingSettingsForm::cbxoverridevorlenproductdescription() const
{
    return form().cbxoverridevorlenproductdescription();
}
int ForwardingSettingsForm::cbxtakevorlenpriceifpricezero() const { return form().cbxtakevorlenpriceifpricezero(); }
QString ForwardingSettingsForm::textSourcePath() const { return form().textSourcePath(); }
QString ForwardingSettingsForm::textSuccessPath() const { return form().textSuccessPath(); }
QString ForwardingSettingsForm::textErrorLogPath() const { return form().textErrorLogPath(); }
void ForwardingSettingsForm::setCbxCustomerPricingVisible(bool visible) { form().setCbxCustomerPricingVisible(visible); }
void ForwardingSettingsForm::setCbxCustomerPricing(int value) { form().setCbxCustomerPricing(value); }

} // namespace session

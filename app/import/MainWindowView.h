#pragma once

#include <QString>

// What the import sets on the main window (frmmain); each member is named after
// the control it sets. The main window implements it; tests record the calls.
namespace importer {

class MainWindowView
{
public:
    virtual ~MainWindowView() = default;

    // Toolbar tbToolBar, buttons by index: 1 SelectFile, 2 ImportFile, 3 ErrorLog,
    // 4 ViewFile, 5 settings, 6.
    virtual void setToolbarButtonEnabled(int index, bool enabled) = 0;
    virtual void setToolbarButtonCaption(int index, const QString& caption) = 0;

    virtual QString txtImportFile() const = 0;
    virtual void setTxtImportFile(const QString& text) = 0;
    virtual void setTxtLineNo(const QString& text) = 0;
    virtual void setTxtCurrentLine(const QString& text) = 0;
    // Sets the caption and repaints it, since the import does not yield to events.
    virtual void setLblStatus(const QString& caption) = 0;

    virtual void setValidationProgressBarValue(int value) = 0;
    virtual void setValidationProgressBarMax(int maximum) = 0;
    virtual void setValidationProgressBarVisible(bool visible) = 0;

    // Animation1: plays the clip file, or is stopped and hidden.
    virtual void playAnimation1(const QString& clipPath) = 0;
    virtual void stopAnimation1() = 0;
    virtual void setAnimation1Visible(bool visible) = 0;

    virtual void setErrorsFoundIMG(bool visible, bool enabled) = 0;
    virtual void setNoErrorFoundIMG(bool visible, bool enabled) = 0;
    virtual void setImgRedVisible(bool visible) = 0;

    virtual void setMnuFilenewEnabled(bool enabled) = 0;
    virtual void setMnuFileViewErrorsEnabled(bool enabled) = 0;
    virtual void setMnuFileStartImportEnabled(bool enabled) = 0;
    virtual void setMnuFileStartImportCaption(const QString& caption) = 0;

    // The package display.
    virtual QString lblCorvelVersion() const = 0;
    virtual void setLblCorvelVersion(const QString& caption) = 0;
    virtual void setLblconame(const QString& caption) = 0;
    // The package edition ("Ferriby", "Aldwick", ...), as the connection shows it.
    virtual QString lblVersion() const = 0;
    virtual void setLblVersion(const QString& caption) = 0;
};

} // namespace importer

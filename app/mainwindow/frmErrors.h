#pragma once

#include "app/import/ImportLogView.h"

#include "platform/forms/Form.h"

#include <memory>

class QTextDocument;

namespace Ui {
class frmErrors;
}

namespace mainwindow {
class LogViewerControls;
}

// "Import Log": shows the import log that the two stages and the driver append to.
// Loaded hidden at start-up, shown by the main window; closing it only hides it.
// The log's own text lives in the session (ForwardingImportLog); this window shows
// it when it loads and then follows every change.
class frmErrors : public forms::Form, public importer::ImportLogView
{
public:
    frmErrors();
    ~frmErrors() override;

    // The log as the import wrote it, CR LF line ends and all.
    QString txtImportText() const override;
    void setTxtImportText(const QString& text) override;
    void appendTxtImportText(const QString& text) override;
    // Shows the window, not modal.
    void show() override;

    // What is shown in txtImportText, as it is printed.
    const QTextDocument* importTextDocument() const;

    void btnClose_Click();

protected:
    void formLoad() override;
    void formUnload() override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Form_Resize();
    void showText(const QString& text);

    std::unique_ptr<Ui::frmErrors> m_ui;
    std::unique_ptr<mainwindow::LogViewerControls> m_controls;
    QString m_text;
};
